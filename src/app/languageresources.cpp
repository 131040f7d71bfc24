#include "app/languageresources.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>
#include <vector>

#include "support/diagnostics.h"

#if defined(Q_OS_WIN)
#include <QLibrary>
#else
#include <dlfcn.h>
#endif

namespace {

const QString kEnglishTranslations = QStringLiteral(":/eng/translations");
const QString kEnglishPictures = QStringLiteral(":/eng/pictures/");
const QString kOwnPictures = QStringLiteral(":/pictures/");

// Qt draws the buttons of its message boxes with texts of its own, in
// English. The program's own resources are Chinese, so they carry the few
// button texts a station's message box uses.
class ChineseButtonTexts : public QTranslator {
public:
    ChineseButtonTexts() {
        const std::pair<const char*, const char16_t*> texts[] = {
            {"OK", u"确定"},          {"&OK", u"确定(&O)"},    {"Cancel", u"取消"},
            {"&Cancel", u"取消(&C)"}, {"&Yes", u"是(&Y)"},     {"&No", u"否(&N)"},
            {"Close", u"关闭"},       {"&Close", u"关闭(&C)"}, {"Save", u"保存"},
            {"&Save", u"保存(&S)"},   {"Open", u"打开"},       {"Apply", u"应用"},
            {"Abort", u"中止"},       {"Retry", u"重试"},      {"Ignore", u"忽略"},
            {"Help", u"帮助"},
        };
        for (const auto& [source, chinese] : texts)
            texts_.insert(QString::fromLatin1(source), QString::fromUtf16(chinese));
    }

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char* = nullptr,
                      int = -1) const override {
        if (!context || !sourceText)
            return QString();
        const QLatin1String ctx(context);
        if (ctx != QLatin1String("QPlatformTheme") && ctx != QLatin1String("QGnomeTheme"))
            return QString();
        return texts_.value(QString::fromLatin1(sourceText));
    }

private:
    QHash<QString, QString> texts_;
};

struct Resources {
    bool moduleLoaded = false;
    std::vector<std::unique_ptr<QTranslator>> english;
    std::unique_ptr<QTranslator> qtChinese; // Qt's own dialogs, when installed
    std::unique_ptr<ChineseButtonTexts> chineseButtons;
    bool chineseButtonsInstalled = false;
    bool englishInstalled = false;
};

Resources& resources() {
    static Resources instance;
    return instance;
}

bool loadModule() {
    Resources& r = resources();
    if (r.moduleLoaded)
        return true;
#if defined(Q_OS_WIN)
    // The program's folder is the first place Windows looks.
    static QLibrary library(QStringLiteral("ResENG"));
    r.moduleLoaded = library.load();
    if (!r.moduleLoaded)
        qCWarning(lcUi).noquote() << "English resource module not loaded:" << library.errorString();
#else
    // Loaded from here, the program's own code, so that its run path
    // applies; the module registers its resources as it loads.
    r.moduleLoaded =
        dlopen(QFile::encodeName(ResourceModuleFileName()).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!r.moduleLoaded)
        qCWarning(lcUi).noquote() << "English resource module not loaded:" << dlerror();
#endif
    return r.moduleLoaded;
}

void installEnglish() {
    Resources& r = resources();
    if (r.english.empty()) {
        const QDir folder(kEnglishTranslations);
        for (const QString& name :
             folder.entryList({QStringLiteral("*.qm")}, QDir::Files, QDir::Name)) {
            auto translator = std::make_unique<QTranslator>();
            if (translator->load(folder.filePath(name)))
                r.english.push_back(std::move(translator));
        }
    }
    for (const auto& translator : r.english)
        QCoreApplication::installTranslator(translator.get());
    r.englishInstalled = true;
}

void removeEnglish() {
    Resources& r = resources();
    for (const auto& translator : r.english)
        QCoreApplication::removeTranslator(translator.get());
    r.englishInstalled = false;
}

void useChineseButtons(bool use) {
    Resources& r = resources();
    if (use == r.chineseButtonsInstalled)
        return;
    if (!r.chineseButtons) {
        r.chineseButtons = std::make_unique<ChineseButtonTexts>();
        // Qt's Chinese texts translate its file dialogs and the rest of its
        // own windows; the station's button texts are installed after them,
        // so they win where both speak.
        auto qtChinese = std::make_unique<QTranslator>();
        if (qtChinese->load(QStringLiteral("qtbase_zh_CN"),
                            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            r.qtChinese = std::move(qtChinese);
        else
            qCDebug(lcUi)
                << "Qt's Chinese texts are not installed; message boxes use the station's";
    }
    for (QTranslator* translator :
         {r.qtChinese.get(), static_cast<QTranslator*>(r.chineseButtons.get())}) {
        if (!translator)
            continue;
        if (use)
            QCoreApplication::installTranslator(translator);
        else
            QCoreApplication::removeTranslator(translator);
    }
    r.chineseButtonsInstalled = use;
}

} // namespace

QString ResourceModuleFileName() {
#if defined(Q_OS_WIN)
    return QStringLiteral("ResENG.dll");
#elif defined(Q_OS_MACOS)
    return QStringLiteral("libResENG.dylib");
#else
    return QStringLiteral("libResENG.so");
#endif
}

bool UseLanguageResources(int langId) {
    if (langId == 1) {
        if (!loadModule())
            return EnglishResourcesInUse(); // the previous resources stay
        if (!resources().englishInstalled) {
            useChineseButtons(false);
            installEnglish();
        }
        return true;
    }
    if (resources().englishInstalled)
        removeEnglish();
    useChineseButtons(true);
    return false;
}

bool EnglishResourcesInUse() {
    return resources().englishInstalled;
}

QImage LanguagePicture(const QString& name) {
    if (EnglishResourcesInUse()) {
        QImage picture(kEnglishPictures + name);
        if (!picture.isNull())
            return picture;
    }
    return QImage(kOwnPictures + name);
}

QString OwnPicturePath(const QString& name) {
    return kOwnPictures + name;
}
