#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>
#include <vector>

// The catalogues are compiled into this static library; their registration
// object is only linked in when something refers to it.
static void InitTranslationResources()
{
#ifdef WEX_HAVE_TRANSLATIONS
    static const bool done = [] {
        Q_INIT_RESOURCE(wex_translations);
        return true;
    }();
    (void)done;
#endif
}

namespace wex {

namespace {

// A translation made only of blanks and mnemonic marks would leave a menu or
// button without a visible title: the English text serves instead.
class CatalogueTranslator : public QTranslator {
public:
    using QTranslator::QTranslator;
    QString translate(const char *context, const char *sourceText, const char *disambiguation,
                      int n) const override
    {
        const QString text = QTranslator::translate(context, sourceText, disambiguation, n);
        for (QChar c : text)
            if (!c.isSpace() && c != QLatin1Char('&'))
                return text;
        return QString();
    }
};

std::vector<QPointer<QTranslator>> &Installed()
{
    static std::vector<QPointer<QTranslator>> translators;
    return translators;
}

bool Install(QTranslator *translator, const QLocale &locale, const QString &name, const QString &folder)
{
    if (!translator->load(locale, name, QStringLiteral("_"), folder) || translator->isEmpty()
        || !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    Installed().emplace_back(translator);
    return true;
}

} // namespace

QString InstallTranslations(const QLocale &locale, const QString &folder)
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return QString();
    InitTranslationResources();
    const QString ours = folder.isEmpty() ? QStringLiteral(":/i18n") : folder;
    auto *translator = new CatalogueTranslator(app);
    if (!Install(translator, locale, QStringLiteral("wex-browser"), ours))
        return QString();
    // Qt's own texts only beside ours: an English interface keeps English buttons.
    Install(new CatalogueTranslator(app), locale, QStringLiteral("qtbase"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    return translator->language().section(QLatin1Char('_'), 0, 0);
}

void RemoveTranslations()
{
    for (const QPointer<QTranslator> &translator : Installed()) {
        if (!translator)
            continue;
        QCoreApplication::removeTranslator(translator);
        delete translator.data();
    }
    Installed().clear();
}

} // namespace wex
