// The batch command on arbitrary command lines. The input is split at NUL
// bytes into arguments after the program name. Everything runs inside a
// private temporary folder that holds two example projects; '/' in an
// argument is replaced so that no path leaves that folder.
//
// Invariants: the exit status is one of the documented ones; a usage error
// says so on the error stream; --help alone prints the usage and succeeds.

#include "Batch.h"
#include "FuzzCheck.h"

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

fs::path g_workDir;

void removeWorkDir() {
    std::error_code ec;
    if (!g_workDir.empty())
        fs::remove_all(g_workDir, ec);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string pattern = (fs::temp_directory_path() / "tamsor-fuzz-batch-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
        std::abort();
    g_workDir = pattern;
    for (const char* name : {"single_mass.wvd", "rc_chimney.wvd"})
        fs::copy_file(fs::path(TAMSOR_EXAMPLES_DIR) / name, g_workDir / name);
    fs::current_path(g_workDir);
    std::atexit(removeWorkDir);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QStringList args{QStringLiteral("tamsor-batch")};
    std::string current;
    for (std::size_t i = 0; i <= size; ++i) {
        if (i == size || data[i] == 0) {
            args << QString::fromUtf8(current.data(), static_cast<qsizetype>(current.size()))
                        .replace(QLatin1Char('/'), QLatin1Char('_'));
            current.clear();
        } else {
            current.push_back(static_cast<char>(data[i]));
        }
    }
    if (args.size() > 64)
        return 0;

    std::ostringstream out;
    std::ostringstream err;
    const int status = tamsor::runBatch(args, out, err);
    TAMSOR_FUZZ_CHECK(status == tamsor::kBatchOk || status == tamsor::kBatchRefused ||
                      status == tamsor::kBatchUsage || status == tamsor::kBatchFault);
    if (status == tamsor::kBatchUsage)
        TAMSOR_FUZZ_CHECK(err.str().find(tamsor::batchUsage()) != std::string::npos);
    if (args.size() == 2 &&
        (args[1] == QStringLiteral("--help") || args[1] == QStringLiteral("-h"))) {
        TAMSOR_FUZZ_CHECK(status == tamsor::kBatchOk);
        TAMSOR_FUZZ_CHECK(out.str() == tamsor::batchUsage());
    }
    // A project that was refused or failed always says why.
    if (status == tamsor::kBatchRefused || status == tamsor::kBatchFault)
        TAMSOR_FUZZ_CHECK(!err.str().empty());
    return 0;
}
