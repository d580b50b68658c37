#include "ProjectFile.h"

#include "FileChooser.h"

#include "InputFields.h"
#include "InputParse.h"
#include "NativePath.h"
#include "NumberParse.h"
#include "SafeRead.h"
#include "SafeWrite.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tamsor {

namespace {

// Texts are stored in the ANSI code page of a Chinese system.
constexpr const char* kCodePage = "GB2312";

constexpr char kCrLf[] = "\r\n";

// How far the reader scans for line ends once the lines before the tail have
// grown beyond kProjectFileMaxBytes, only to tell a short file from a long one.
constexpr qint64 kMaxScanBytes = qint64{256} << 20;
constexpr qint64 kChunkBytes = qint64{64} << 10;

Message fileWarning(std::string text) {
    return Message{std::move(text), "警告", Message::Icon::Exclamation};
}

Message fileError(std::string text) {
    return Message{std::move(text), "错误", Message::Icon::Exclamation};
}

// The path as messages show it: bytes that are not UTF-8 as U+FFFD.
std::string quotedPath(const NativePath& path) {
    return "“" + QDir::toNativeSeparators(path.display()).toStdString() + "”";
}

// Nearest integer, exact halves to the even neighbour (2.5 -> 2, 3.5 -> 4),
// whatever the floating-point rounding mode.
double roundHalfEven(double value) {
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction < 0.5)
        return lower;
    if (fraction > 0.5)
        return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

// Rounded value of a numeric line when it lies within lo..hi. The range test
// is done on the double, so huge values never reach the integer conversion.
std::optional<int> roundedInRange(double value, int lo, int hi) {
    const double rounded = roundHalfEven(value);
    if (!(rounded >= lo && rounded <= hi))
        return std::nullopt;
    return static_cast<int>(rounded);
}

// The mode counts the reader takes, exactly (1.0 passes, 1.2 does not): 1 to
// kReadableModes, one per mode-shape box, and the message for any other count.
constexpr int kReadableModes = kModeShapeBoxes;
constexpr const char* kModeCountRangeMessage = "模态数数请取 1、2 或 3";

std::optional<int> readableModeCount(double value) {
    for (int m = 1; m <= kReadableModes; ++m)
        if (value == m)
            return m;
    return std::nullopt;
}

// The number of lines before the tail, 11 + m, from the raw mode-count line;
// a line that gives no count the reader takes counts as one mode (the read
// stops at that line anyway).
int headLineCount(std::string_view modeLine) {
    int modes = 1;
    if (const std::optional<double> value = parseDecimal(modeLine))
        modes = readableModeCount(*value).value_or(1);
    return projectFileLayout(modes).count;
}

// Removes space characters (and only those) at both ends.
std::string_view trimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// Splits a byte stream into lines, fed chunk by chunk. A line ends at CR LF,
// at a lone LF or at a lone CR; a last line without an end counts too. The
// lines before the tail (11 + m, known once line 5 is there) are kept up to
// kProjectFileMaxBytes in all: beyond that the splitter only counts them. The
// tail's lines are kept up to kProjectTailMaxBytes, each line end counted as a
// byte (so empty lines are bounded too); the line that crosses that bound and
// everything after it are not read.
class LineSplitter {
public:
    // Room for the lines of a file as the program writes it.
    LineSplitter() { lines_.reserve(16); }

    // Takes bytes; returns false once it needs no more input.
    bool feed(const char* data, qint64 size) {
        qint64 i = 0;
        while (i < size && wantsMore()) {
            if (pendingCr_) {
                pendingCr_ = false;
                if (data[i] == '\n') {
                    ++i;
                    continue;
                }
            }
            qint64 end = i;
            while (end < size && data[end] != '\r' && data[end] != '\n')
                ++end;
            if (end > i) {
                started_ = true;
                keep(data + i, end - i);
                if (!wantsMore())
                    break;
            }
            if (end == size)
                break;
            endLine();
            pendingCr_ = data[end] == '\r';
            i = end + 1;
        }
        return wantsMore();
    }

    // End of input: an unterminated last line counts as a line.
    void finish() {
        if (started_ && wantsMore())
            endLine();
    }

    int headLines() const { return headLines_; }
    bool headComplete() const { return count_ >= headLines_; }
    bool overflow() const { return overflow_; }
    // The kept lines: those before the tail, then the tail's.
    const std::vector<std::string>& lines() const { return lines_; }

private:
    bool inHead() const { return count_ < headLines_; }
    bool wantsMore() const { return !(headComplete() && (overflow_ || tailFull_)); }

    void keep(const char* data, qint64 size) {
        if (inHead()) {
            headBytes_ += size;
            if (headBytes_ > kProjectFileMaxBytes)
                overflow_ = true;
            else
                current_.append(data, size);
            return;
        }
        tailBytes_ += size;
        if (tailBytes_ > kProjectTailMaxBytes) {
            tailFull_ = true; // this line and the rest stay unread
            current_.clear();
            return;
        }
        current_.append(data, size);
    }

    void endLine() {
        if (inHead()) {
            if (!overflow_)
                lines_.push_back(std::move(current_));
        } else if (++tailBytes_ > kProjectTailMaxBytes) { // the line end counts as one byte
            tailFull_ = true;
        } else {
            lines_.push_back(std::move(current_));
        }
        current_.clear();
        started_ = false;
        ++count_;
        if (count_ == kModeCountLine && !overflow_)
            headLines_ = headLineCount(lines_.back());
    }

    std::vector<std::string> lines_;
    std::string current_;
    qint64 headBytes_ = 0;
    qint64 tailBytes_ = 0;
    int count_ = 0;
    int headLines_ = static_cast<int>(kProjectFileOrder.size());
    bool started_ = false;
    bool pendingCr_ = false;
    bool overflow_ = false;
    bool tailFull_ = false;
};

// A list line: the number's checks and messages, then the number goes into
// the input. The DOF count and the terrain category are rounded half to
// even; the mode count must be one the reader takes, exactly.
std::optional<Message> loadChoice(Choice choice, std::string_view text, ProjectInput& input) {
    const std::optional<double> value = parseDecimal(text);
    switch (choice) {
    case Choice::Freedom: {
        if (!value)
            return fileWarning("自由度数必须为整数");
        const std::optional<int> n = roundedInRange(*value, 1, kMaxFreedom);
        if (!n)
            return fileWarning("自由度数不能多于10或小于1");
        input.pointCount = *n;
        return std::nullopt;
    }
    case Choice::Modes: {
        if (!value)
            return fileWarning("模态数必须为整数");
        const std::optional<int> m = readableModeCount(*value);
        if (!m)
            return fileWarning(kModeCountRangeMessage);
        input.modeCount = *m;
        return std::nullopt;
    }
    case Choice::Terrain: {
        if (!value)
            return fileWarning("地貌类型必须为整数");
        const std::optional<int> t =
            roundedInRange(*value, 1, choiceField(Choice::Terrain).entries);
        if (!t)
            return fileWarning("地貌类型不能大于4，小于1");
        input.terrain = *t;
        return std::nullopt;
    }
    }
    return std::nullopt;
}

// One line of the tail, line `lineNumber` of the file. A line without "="
// or without a key is ignored; a known key's value is checked; any other key
// is kept as read.
std::optional<Message> loadTailLine(std::string_view line, std::size_t lineNumber,
                                    ProjectInput& input) {
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    const std::string_view key = trimSpaces(line.substr(0, equals));
    const std::string_view value = trimSpaces(line.substr(equals + 1));
    if (key.empty())
        return std::nullopt;
    for (const TailField& field : kTailFields) {
        if (field.key != key)
            continue;
        if (const std::optional<std::string> refusal = tailValueRefusal(field, value))
            return fileWarning("数据文件第" + std::to_string(lineNumber) + "行：" + *refusal);
        input.*field.text = value;
        return std::nullopt;
    }
    input.otherTail.push_back(TailEntry{std::string(key), std::string(value)});
    return std::nullopt;
}

// Steps of the reader after the line count: the lines, decoded, go into a new
// project's input in file order. Stops at the first bad line with its
// message; what the lines before it hold stays in the input.
ProjectRead loadLines(const std::vector<std::string>& raw) {
    // A file saved by an editor as "UTF-8 with BOM" starts with EF BB BF; its
    // lines are UTF-8, and the mark is not part of the DOF count.
    constexpr std::string_view kUtf8Bom("\xEF\xBB\xBF");
    const bool utf8 = !raw.empty() && raw.front().starts_with(kUtf8Bom);
    // Both encodings give ASCII bytes as they are: such a line is taken as
    // read. The decoder is made for the first line that holds other bytes;
    // the decoded lines are kept aside (never moved: room for all is made
    // first).
    std::optional<QStringDecoder> decoder;
    std::vector<std::string> decoded;
    std::vector<std::string_view> lines;
    lines.reserve(raw.size());
    for (const std::string& bytes : raw) {
        std::string_view line = bytes;
        if (lines.empty() && utf8)
            line.remove_prefix(kUtf8Bom.size());
        if (std::all_of(line.begin(), line.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
            lines.push_back(line);
            continue;
        }
        if (!decoder) {
            decoder.emplace(utf8 ? QStringDecoder(QStringDecoder::Utf8)
                                 : QStringDecoder(kCodePage));
            decoded.reserve(raw.size());
        }
        decoder->resetState();
        decoded.push_back(QString(decoder->decode(QByteArrayView(
                                      line.data(), static_cast<qsizetype>(line.size()))))
                              .toStdString());
        lines.push_back(decoded.back());
    }

    // Lines in file order; a list number is checked where its line stands,
    // so a bad line stops the read with what came before already loaded.
    // Lines 1 to 5 are the same whatever the mode count; from line 6 on the
    // layout follows the count read on line 5.
    ProjectRead read;
    ProjectInput& input = read.input;
    ProjectFileLayout layout = projectFileLayout(1);
    std::size_t k = 0;
    for (; k < static_cast<std::size_t>(layout.count); ++k) {
        if (k == kModeCountLine)
            layout = projectFileLayout(input.modeCount);
        if (k >= lines.size()) // the splitter counted the lines by the same mode count
            return ProjectRead{input, fileError("数据文件不完整，数据太少，请补充")};
        const FileLine& line = layout.lines.at(k);
        const std::string_view text = lines.at(k);
        switch (line.kind) {
        case FileLine::Kind::ListBox:
            listBoxText(input, line.index) = trimSpaces(text);
            break;
        case FileLine::Kind::ValueBox:
            valueBoxText(input, line.index) = trimSpaces(text);
            break;
        case FileLine::Kind::Choice:
            read.failure = loadChoice(static_cast<Choice>(line.index), text, input);
            if (read.failure)
                return read;
            break;
        }
    }
    for (; k < lines.size(); ++k) {
        read.failure = loadTailLine(lines[k], k + 1, input);
        if (read.failure)
            return read;
    }
    return read;
}

// After the splitter has seen the whole input (or enough of it): the line
// count test, the size limit, then the lines themselves.
ProjectRead finishRead(const LineSplitter& splitter, bool scannedAll) {
    if (!splitter.headComplete() && scannedAll)
        return ProjectRead{{}, fileError("数据文件不完整，数据太少，请补充")};
    if (!splitter.headComplete() || splitter.overflow())
        return ProjectRead{{}, fileWarning("数据文件过大，不是有效的数据文件")};
    return loadLines(splitter.lines());
}

// A line of the tail as written: "key=value".
std::string tailLine(std::string_view key, std::string_view value) {
    std::string line(key);
    line += '=';
    line += value;
    return line;
}

// Why an opened path cannot be read as a project file, or nothing. Only an
// ordinary, visible file counts; whatever else is at the path is named after
// the old "does not exist" text.
std::optional<Message> openRefusal(const NativePath& path, const ReadTarget& opened) {
    using Kind = ReadTarget::Kind;
    switch (opened.kind) {
    case Kind::Regular:
        if (path.fileName().startsWith('.'))
            return fileError("数据文件不存在：" + quotedPath(path) +
                             "是隐藏文件（文件名以“.”开头）");
        return std::nullopt;
    case Kind::Missing:
        return fileError("数据文件不存在");
    case Kind::NameNotUtf8:
        return fileWarning("无法打开数据文件" + quotedPath(path) +
                           "：文件名不是有效的UTF-8编码（如在Windows上制作的压缩包中的GB2312"
                           "文件名），请将文件改名后再打开");
    case Kind::Folder:
    case Kind::Pipe:
    case Kind::Device:
    case Kind::Socket:
        return fileError("数据文件不存在：" + quotedPath(path) + "是" +
                         nonFileKindName(opened.kind) + "，不是普通文件");
    case Kind::NoAccess:
    case Kind::Failed:
        break;
    }
    return fileWarning("无法打开数据文件" + quotedPath(path));
}

} // namespace

std::optional<QByteArray> projectFileBytes(const ProjectInput& input) {
    std::vector<std::string> lines;
    for (const FileLine& line : projectFileLayout(input.modeCount)) {
        switch (line.kind) {
        case FileLine::Kind::ListBox:
            lines.push_back(listBoxText(input, line.index));
            break;
        case FileLine::Kind::ValueBox:
            lines.push_back(valueBoxText(input, line.index));
            break;
        case FileLine::Kind::Choice:
            lines.push_back(
                std::to_string(input.*choiceField(static_cast<Choice>(line.index)).selection));
            break;
        }
    }
    for (const TailField& field : kTailFields)
        if (!(input.*field.text).empty())
            lines.push_back(tailLine(field.key, input.*field.text));
    for (const TailEntry& entry : input.otherTail) {
        // The key must read back as this key: one without "=" that the
        // reader neither trims nor takes for a known one.
        const bool known = std::any_of(kTailFields.begin(), kTailFields.end(),
                                       [&](const TailField& f) { return f.key == entry.key; });
        if (known || entry.key.empty() || entry.key.find('=') != std::string::npos ||
            trimSpaces(entry.key) != entry.key)
            return std::nullopt;
        lines.push_back(tailLine(entry.key, entry.value));
    }

    QStringEncoder encoder(kCodePage);
    QByteArray bytes;
    for (const std::string& line : lines) {
        // A line break inside a text would shift every later line.
        if (line.find_first_of("\r\n") != std::string::npos)
            return std::nullopt;
        const QString text = QString::fromStdString(line);
        bytes += encoder.encode(text);
        if (encoder.hasError())
            return std::nullopt;
        bytes += kCrLf;
    }
    return bytes;
}

std::optional<Message> writeProjectFile(const QString& path, const ProjectInput& input) {
    const QFileInfo info(path);
    if (path.isEmpty() || info.fileName().isEmpty())
        return fileWarning("请输入数据文件名，数据未保存");
    if (hasWildcard(info.fileName()))
        return fileWarning("文件名中不能含有“*”或“?”，数据未保存");

    const std::optional<QByteArray> bytes = projectFileBytes(input);
    if (!bytes)
        return fileWarning("输入框中含有无法保存的字符，数据未保存");

    // The old file is replaced only by a completely written new one.
    if (const std::optional<WriteFailure> failure = writeFileSafely(path, *bytes)) {
        if (failure->kind == WriteFailure::Kind::NotRegularFile)
            return fileWarning("无法写入数据文件" + quotedPath(path) +
                               "：它是文件夹、设备或管道，不是普通文件，数据未保存");
        return fileWarning("无法写入数据文件" + quotedPath(path) + "，数据未保存");
    }
    return std::nullopt;
}

bool sameInProjectFile(const ProjectInput& a, const ProjectInput& b) {
    if (a.pointCount != b.pointCount || a.modeCount != b.modeCount || a.terrain != b.terrain)
        return false;
    for (const FileLine& line : projectFileLayout(a.modeCount)) {
        if (line.kind == FileLine::Kind::ListBox &&
            listBoxText(a, line.index) != listBoxText(b, line.index))
            return false;
        if (line.kind == FileLine::Kind::ValueBox &&
            valueBoxText(a, line.index) != valueBoxText(b, line.index))
            return false;
    }
    for (const TailField& field : kTailFields)
        if (a.*field.text != b.*field.text)
            return false;
    return a.otherTail == b.otherTail;
}

ProjectRead readProjectBytes(const QByteArray& bytes) {
    LineSplitter splitter;
    splitter.feed(bytes.constData(), bytes.size());
    splitter.finish();
    return finishRead(splitter, true);
}

ProjectRead readProjectFile(const QString& path) {
    // A name with wildcards names no one file.
    if (path.isEmpty() || hasWildcard(QFileInfo(path).fileName()))
        return ProjectRead{{}, fileError("数据文件不存在")};
    // Opened first and judged by what was opened: a pipe or a device put in
    // place of the file is never waited on.
    const NativePath name(path);
    ReadTarget opened = openForReading(name);
    if (std::optional<Message> refusal = openRefusal(name, opened))
        return ProjectRead{{}, std::move(refusal)};
    ReadHandle& file = opened.file;

    LineSplitter splitter;
    std::array<char, kChunkBytes> chunk;
    qint64 scanned = 0;
    bool scannedAll = false;
    while (scanned < kMaxScanBytes) {
        const qint64 size = file.read(chunk.data(), kChunkBytes);
        if (size < 0)
            return ProjectRead{{}, fileWarning("读取数据文件" + quotedPath(name) + "时出错")};
        if (size == 0) {
            scannedAll = true;
            break;
        }
        scanned += size;
        if (!splitter.feed(chunk.data(), size))
            break;
        // The whole file has come: no read is needed to find its end.
        if (size < kChunkBytes && scanned == opened.size) {
            scannedAll = true;
            break;
        }
    }
    if (scannedAll)
        splitter.finish();
    file = ReadHandle(); // closed
    return finishRead(splitter, scannedAll);
}

} // namespace tamsor
