#include "gui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace varnek {

bool FollowLanguageInQt(const std::string& languageCode) {
  // One translator for the application, as the language is one.
  static QPointer<QTranslator> installed;
  if (installed) {
    QCoreApplication::removeTranslator(installed);
    delete installed;
  }
  const QLocale locale(QString::fromStdString(languageCode));
  if (languageCode.empty() || locale.language() == QLocale::English || locale.language() == QLocale::C) {
    return false;
  }
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete translator;
    return false;
  }
  QCoreApplication::installTranslator(translator);
  installed = translator;
  return true;
}

}  // namespace varnek
