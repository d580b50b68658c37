#include "ProjectFile.h"

#include "FileChooser.h"

#include "NativePath.h"
#include "NumberParse.h"
#include "SafeRead.h"
#include "SafeWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

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

// How far the reader scans for line ends once the first lines have grown
// beyond kProjectFileMaxBytes, only to tell a short file from a long one.
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

int choicePosition(const InputForm& form, Choice choice) {
    switch (choice) {
    case Choice::Freedom:
        return form.freedomPosition();
    case Choice::Modes:
        return form.modesPosition();
    case Choice::Terrain:
        break;
    }
    return form.terrainPosition();
}

// Removes space characters (and only those) at both ends.
std::string trimSpaces(std::string text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    const std::size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// Splits a byte stream into lines, fed chunk by chunk. A line ends at CR LF,
// at a lone LF or at a lone CR; a last line without an end counts too. Only
// the first kProjectFileLines lines are kept, and of those only
// kProjectFileMaxBytes bytes in all: beyond that the splitter only counts.
class LineSplitter {
public:
    // Takes bytes until kProjectFileLines lines are complete; returns false
    // once it needs no more input.
    bool feed(const char* data, qint64 size) {
        qint64 i = 0;
        while (i < size && !enough()) {
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
                keptBytes_ += end - i;
                if (keptBytes_ > kProjectFileMaxBytes)
                    overflow_ = true;
                else
                    current_.append(data + i, end - i);
            }
            if (end == size)
                break;
            endLine();
            pendingCr_ = data[end] == '\r';
            i = end + 1;
        }
        return !enough();
    }

    // End of input: an unterminated last line counts as a line.
    void finish() {
        if (started_ && !enough())
            endLine();
    }

    bool enough() const { return count_ >= kProjectFileLines; }
    bool overflow() const { return overflow_; }
    const std::vector<QByteArray>& lines() const { return lines_; }

private:
    void endLine() {
        if (!overflow_)
            lines_.push_back(current_);
        current_.clear();
        started_ = false;
        ++count_;
    }

    std::vector<QByteArray> lines_;
    QByteArray current_;
    qint64 keptBytes_ = 0;
    int count_ = 0;
    bool started_ = false;
    bool pendingCr_ = false;
    bool overflow_ = false;
};

// A list position line: the number's checks and messages, then the list's
// entry is selected. The DOF count and the terrain category are rounded half
// to even; the mode count must be exactly 1.
std::optional<Message> loadChoice(Choice choice, const std::string& text, InputForm& form) {
    const std::optional<double> value = parseDecimal(text);
    switch (choice) {
    case Choice::Freedom: {
        if (!value)
            return fileWarning("自由度数必须为整数");
        const std::optional<int> n = roundedInRange(*value, 1, InputForm::kFreedomEntries);
        if (!n)
            return fileWarning("自由度数不能多于10或小于1");
        form.selectFreedom(*n - 1);
        return std::nullopt;
    }
    case Choice::Modes:
        if (!value)
            return fileWarning("模态数必须为整数");
        if (*value != 1.0)
            return fileWarning("模态数数请取 1");
        form.selectModes(0);
        return std::nullopt;
    case Choice::Terrain: {
        if (!value)
            return fileWarning("地貌类型必须为整数");
        const std::optional<int> t = roundedInRange(*value, 1, InputForm::kTerrainEntries);
        if (!t)
            return fileWarning("地貌类型不能大于4，小于1");
        form.selectTerrain(*t - 1);
        return std::nullopt;
    }
    }
    return std::nullopt;
}

// Steps of the reader after the line count: the first twelve lines, decoded,
// go into the boxes and lists in file order. Stops at the first bad line with
// its message; what was loaded before stays in the form.
bool loadLines(const std::vector<QByteArray>& raw, InputForm& form) {
    // A file saved by an editor as "UTF-8 with BOM" starts with EF BB BF; its
    // lines are UTF-8, and the mark is not part of the DOF count.
    static const QByteArray kUtf8Bom("\xEF\xBB\xBF");
    const bool utf8 = !raw.empty() && raw.front().startsWith(kUtf8Bom);
    QStringDecoder decoder =
        utf8 ? QStringDecoder(QStringDecoder::Utf8) : QStringDecoder(kCodePage);
    std::vector<std::string> lines;
    lines.reserve(raw.size());
    for (const QByteArray& bytes : raw) {
        decoder.resetState();
        const bool first = lines.empty();
        lines.push_back(QString(decoder.decode(first && utf8 ? bytes.mid(kUtf8Bom.size()) : bytes))
                            .toStdString());
    }

    // Lines in file order; a list position is checked where its line stands,
    // so a bad line stops the read with what came before already loaded.
    MessageSink& sink = form.sink();
    for (std::size_t k = 0; k < kProjectFileLayout.size(); ++k) {
        const FileLine& line = kProjectFileLayout[k];
        const std::string& text = lines.at(k);
        switch (line.kind) {
        case FileLine::Kind::ListBox:
            form.setText1(line.index, trimSpaces(text));
            break;
        case FileLine::Kind::ValueBox:
            form.setText2(line.index, trimSpaces(text));
            break;
        case FileLine::Kind::Choice:
            if (const std::optional<Message> refusal =
                    loadChoice(static_cast<Choice>(line.index), text, form)) {
                sink.show(*refusal);
                return false;
            }
            break;
        }
    }

    form.model().codeVersion = 0;
    return true;
}

// After the splitter has seen the whole input (or enough of it): the line
// count test, the size limit, then the lines themselves.
bool finishRead(const LineSplitter& splitter, bool scannedAll, InputForm& form) {
    if (!splitter.enough() && scannedAll) {
        form.sink().show(fileError("数据文件不完整，数据太少，请补充"));
        return false;
    }
    if (!splitter.enough() || splitter.overflow()) {
        form.sink().show(fileWarning("数据文件过大，不是有效的数据文件"));
        return false;
    }
    return loadLines(splitter.lines(), form);
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

std::optional<QByteArray> projectFileBytes(const InputForm& form) {
    std::vector<std::string> lines;
    for (const FileLine& line : kProjectFileLayout) {
        switch (line.kind) {
        case FileLine::Kind::ListBox:
            lines.push_back(form.text1(line.index));
            break;
        case FileLine::Kind::ValueBox:
            lines.push_back(form.text2(line.index));
            break;
        case FileLine::Kind::Choice:
            lines.push_back(
                std::to_string(choicePosition(form, static_cast<Choice>(line.index)) + 1));
            break;
        }
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

std::optional<Message> writeProjectFile(const QString& path, const InputForm& form) {
    const QFileInfo info(path);
    if (path.isEmpty() || info.fileName().isEmpty())
        return fileWarning("请输入数据文件名，数据未保存");
    if (hasWildcard(info.fileName()))
        return fileWarning("文件名中不能含有“*”或“?”，数据未保存");

    const std::optional<QByteArray> bytes = projectFileBytes(form);
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

bool readProjectBytes(const QByteArray& bytes, InputForm& form) {
    LineSplitter splitter;
    splitter.feed(bytes.constData(), bytes.size());
    splitter.finish();
    return finishRead(splitter, true, form);
}

bool readProjectFile(const QString& path, InputForm& form) {
    // A name with wildcards names no one file.
    if (path.isEmpty() || hasWildcard(QFileInfo(path).fileName())) {
        form.sink().show(fileError("数据文件不存在"));
        return false;
    }
    // Opened first and judged by what was opened: a pipe or a device put in
    // place of the file is never waited on.
    const NativePath name(path);
    const ReadTarget opened = openForReading(name);
    if (const std::optional<Message> refusal = openRefusal(name, opened)) {
        form.sink().show(*refusal);
        return false;
    }
    QFile& file = *opened.file;

    LineSplitter splitter;
    qint64 scanned = 0;
    bool scannedAll = false;
    while (scanned < kMaxScanBytes) {
        const QByteArray chunk = file.read(kChunkBytes);
        if (chunk.isEmpty()) {
            if (file.error() != QFileDevice::NoError) {
                form.sink().show(fileWarning("读取数据文件" + quotedPath(path) + "时出错"));
                return false;
            }
            scannedAll = true;
            break;
        }
        scanned += chunk.size();
        if (!splitter.feed(chunk.constData(), chunk.size()))
            break;
    }
    if (scannedAll)
        splitter.finish();
    file.close();
    return finishRead(splitter, scannedAll, form);
}

} // namespace tamsor
