#pragma once

class QCoreApplication;

namespace tamsor {

// Loads Qt's own Chinese texts (qtbase_zh_CN from Qt's translations folder,
// Debian package qt6-translations-l10n) into the application, whatever the
// user's locale, so that standard buttons, file dialogs and context menus
// read 确定, 是, 否, 取消, 粘贴 like the rest of the program. False when the
// translations are not installed; the texts then stay English.
bool installChineseQtTranslations(QCoreApplication& app);

} // namespace tamsor
