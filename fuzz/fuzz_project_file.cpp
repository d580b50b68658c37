// The project file reader on arbitrary bytes. A file read completely is
// written again and read back: the same box texts and list selections.
// Reading never throws and shows at most one message.

#include "FuzzCheck.h"
#include "InputFields.h"
#include "InputForm.h"
#include "Message.h"
#include "ProjectFile.h"
#include "ProjectModel.h"
#include "Startup.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    tamsor::ProjectModel model;
    tamsor::initializeProject(model);
    tamsor::MessageRecorder sink;
    tamsor::InputForm form(model, sink);
    form.newProject();
    model.codeVersion = 1;

    const bool complete = tamsor::readProjectBytes(bytes, form);
    if (!complete) {
        TAMSOR_FUZZ_CHECK(sink.messages.size() == 1);
        TAMSOR_FUZZ_CHECK(model.codeVersion == 1);
        return 0;
    }
    TAMSOR_FUZZ_CHECK(sink.messages.empty());
    TAMSOR_FUZZ_CHECK(model.codeVersion == 0);
    TAMSOR_FUZZ_CHECK(model.nFreedom == form.freedomPosition() + 1);
    TAMSOR_FUZZ_CHECK(model.nFreedom >= 1 && model.nFreedom <= tamsor::kMaxFreedom);
    TAMSOR_FUZZ_CHECK(model.terrainType >= 1 && model.terrainType <= 4);
    TAMSOR_FUZZ_CHECK(model.nModes == 1);

    const std::optional<QByteArray> written = tamsor::projectFileBytes(form);
    if (!written)
        return 0; // a text that cannot be stored as one GB2312 line
    TAMSOR_FUZZ_CHECK(written->endsWith("\r\n"));
    TAMSOR_FUZZ_CHECK(written->count("\r\n") == tamsor::kProjectFileLines);

    tamsor::ProjectModel model2;
    tamsor::initializeProject(model2);
    tamsor::MessageRecorder sink2;
    tamsor::InputForm again(model2, sink2);
    again.newProject();
    TAMSOR_FUZZ_CHECK(tamsor::readProjectBytes(*written, again));
    TAMSOR_FUZZ_CHECK(sink2.messages.empty());
    // The boxes the file stores (the boxes of modes 2 and 3 are not stored).
    for (const tamsor::ListBoxField& field : tamsor::kListBoxFields)
        if (field.fileLine > 0)
            TAMSOR_FUZZ_CHECK(again.text1(field.box) == form.text1(field.box));
    for (int i = 0; i < tamsor::kValueBoxCount; ++i)
        TAMSOR_FUZZ_CHECK(again.text2(i) == form.text2(i));
    TAMSOR_FUZZ_CHECK(again.freedomPosition() == form.freedomPosition());
    TAMSOR_FUZZ_CHECK(again.modesPosition() == form.modesPosition());
    TAMSOR_FUZZ_CHECK(again.terrainPosition() == form.terrainPosition());
    return 0;
}
