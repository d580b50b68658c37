// The project file reader on arbitrary bytes. A file read completely is
// written again and read back: the same input. Reading never throws; a failed
// read says why.

#include "FuzzCheck.h"
#include "InputFields.h"
#include "Message.h"
#include "ProjectFile.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    const tamsor::ProjectRead read = tamsor::readProjectBytes(bytes);
    if (!read.complete()) {
        TAMSOR_FUZZ_CHECK(!read.failure->text.empty());
        return 0;
    }
    const tamsor::ProjectInput& input = read.input;
    TAMSOR_FUZZ_CHECK(input.pointCount >= 1 && input.pointCount <= tamsor::kMaxFreedom);
    TAMSOR_FUZZ_CHECK(input.terrain >= 1 && input.terrain <= 4);
    TAMSOR_FUZZ_CHECK(input.modeCount >= 1 && input.modeCount <= tamsor::kModeShapeBoxes);

    const std::optional<QByteArray> written = tamsor::projectFileBytes(input);
    if (!written)
        return 0; // a text that cannot be stored as one GB2312 line
    TAMSOR_FUZZ_CHECK(written->endsWith("\r\n"));
    TAMSOR_FUZZ_CHECK(written->count("\r\n") >= tamsor::projectFileLayout(input.modeCount).count);

    const tamsor::ProjectRead again = tamsor::readProjectBytes(*written);
    TAMSOR_FUZZ_CHECK(again.complete());
    TAMSOR_FUZZ_CHECK(tamsor::sameInProjectFile(again.input, input));
    TAMSOR_FUZZ_CHECK(tamsor::projectFileBytes(again.input) == written);
    return 0;
}
