// Qt's own texts in Chinese whatever the user's locale: this test runs under
// LANG=C and under LANG=en_US.UTF-8 and loads the translations as the
// program does at start-up; the message boxes of Prompts then show Chinese
// buttons, and an input box's context menu Chinese entries.

#include "DialogTestSupport.h"

#include "Prompts.h"
#include "QtTranslations.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QtTest>

#include <memory>

using tamsor::Message;
using tamsor::SaveAnswer;
using tamsor::test::driveNextDialog;

namespace {

// A button or menu text as it reads, without its keyboard mnemonic and
// shortcut: "是(&Y)" reads 是, "粘贴(&P)\tCtrl+V" reads 粘贴.
QString reading(QString text) {
    text = text.section(QLatin1Char('\t'), 0, 0);
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    text.remove(QLatin1Char('&'));
    return text.trimmed();
}

// Notes the buttons of the next message box, then presses `press`.
[[nodiscard]] std::unique_ptr<tamsor::test::WidgetDriver>
answerNextBox(QStringList& buttons, QMessageBox::StandardButton press) {
    return driveNextDialog<QMessageBox>([&buttons, press](QMessageBox& box) {
        for (QAbstractButton* button : box.buttons())
            buttons << reading(button->text());
        buttons.sort();
        box.button(press)->click();
    });
}

QStringList sorted(QStringList list) {
    list.sort();
    return list;
}

const Message kMessage{"你真的想退出吗? ", "提    示", Message::Icon::None};

} // namespace

class QtTranslationsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY2(!QLocale::system().name().startsWith(QStringLiteral("zh")),
                 "this test is meant for a locale other than Chinese");
        QVERIFY2(tamsor::installChineseQtTranslations(*QCoreApplication::instance()),
                 "qtbase_zh_CN.qm not found (package qt6-translations-l10n)");
    }

    void messageBoxButtonsAreChinese() {
        tamsor::QtPrompts prompts;
        QStringList ok;
        auto driver = answerNextBox(ok, QMessageBox::Ok);
        prompts.inform(nullptr, kMessage);
        QCOMPARE(ok, QStringList{"确定"});

        QStringList yesNo;
        driver = answerNextBox(yesNo, QMessageBox::No);
        QVERIFY(!prompts.confirm(nullptr, kMessage));
        QCOMPARE(yesNo, sorted({"是", "否"}));

        QStringList save;
        driver = answerNextBox(save, QMessageBox::Discard);
        QCOMPARE(prompts.askToSave(nullptr, kMessage), SaveAnswer::DontSave);
        QCOMPARE(save, sorted({"保存", "不保存", "取消"}));
        QStringList cancelled;
        driver = answerNextBox(cancelled, QMessageBox::Cancel);
        QCOMPARE(prompts.askToSave(nullptr, kMessage), SaveAnswer::Cancel);
    }

    void contextMenuIsChinese() {
        QLineEdit edit;
        const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
        QStringList entries;
        for (QAction* action : menu->actions())
            entries << reading(action->text());
        QVERIFY2(entries.contains(QStringLiteral("粘贴")), qPrintable(entries.join(u' ')));
        QVERIFY2(entries.contains(QStringLiteral("复制")), qPrintable(entries.join(u' ')));
    }
};

QTEST_MAIN(QtTranslationsTest)
#include "QtTranslationsTest.moc"
