#include "UnsavedWork.h"

#include "ProjectSession.h"
#include "TamsorVersion.h"

#include <QFileInfo>

namespace tamsor {

Message unsavedChangesQuestion(const QString& currentFile) {
    const std::string text = currentFile.isEmpty()
                                 ? std::string("当前数据已修改，尚未保存到数据文件。是否保存？")
                                 : "数据文件“" + QFileInfo(currentFile).fileName().toStdString() +
                                       "”中的数据已修改。是否保存修改？";
    return Message{text, "提    示", Message::Icon::Question};
}

Message exitQuestion() {
    return Message{"你真的想退出吗? ", "提    示", Message::Icon::None};
}

bool settleUnsavedChanges(const ProjectSession& session,
                          const std::function<SaveAnswer(const Message&)>& ask,
                          const std::function<bool()>& save) {
    if (!session.isModified())
        return true;
    switch (ask(unsavedChangesQuestion(session.currentFile()))) {
    case SaveAnswer::Save:
        return save();
    case SaveAnswer::DontSave:
        return true;
    case SaveAnswer::Cancel:
        break;
    }
    return false;
}

QString windowCaption(const QString& currentFile) {
    const QString title = QString::fromUtf8(kAppTitle);
    if (currentFile.isEmpty())
        return title + QStringLiteral("[*]");
    // A "[*]" of the name itself is doubled, which the title shows as it is.
    QString name = QFileInfo(currentFile).fileName();
    name.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
    return name + QStringLiteral("[*] - ") + title;
}

} // namespace tamsor
