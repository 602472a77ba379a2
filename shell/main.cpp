#include "ContentGate.h"
#include "ILogResource.h"
#include "ISilResource.h"
#include "InstalledTree.h"
#include "JavaRuntime.h"
#include "MainWindow.h"
#include "MallocTuning.h"
#include "MessageBoxHelper.h"
#include "PluginFiles.h"
#include "PluginLocator.h"
#include "PrivateFiles.h"
#include "ProductInfo.h"
#include "ScrollBarStyle.h"
#include "SettingsKeys.h"
#include "SettingsStore.h"
#include "ShellLog.h"
#include "SingleInstanceLock.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>

#include <memory>

namespace {

const char* const ApplicationName = ProductInfo::Name;

void showMissingRuntime()
{
    MessageBoxHelper::warning(
        nullptr, QString::fromLatin1(ApplicationName),
        QObject::tr("Before using Vireda, you will need to install the Java Runtime Environment.  Please visit")
            + QLatin1Char('\n') + QString::fromLatin1(ProductInfo::JavaDownloadPage)
            + QObject::tr(" to download and install the Java Runtime Environment.") + QLatin1Char('\n'));
}

// The program runs with its ready-to-run tree as the working directory. An
// installed program runs in the learner's own tree under the data folder,
// made at its first start.
void enterHomeDirectory()
{
    const QString home = qEnvironmentVariable("VIREDA_HOME");
    if (!home.isEmpty()) {
        QDir::setCurrent(home);
        return;
    }
    const QString programDir = QCoreApplication::applicationDirPath();
    if (InstalledTree::isInstalled(programDir)) {
        const QString tree = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QString error;
        if (InstalledTree::prepare(programDir, tree, &error) && QDir::setCurrent(tree))
            return;
        qCWarning(lcShell, "Cannot make the learner's tree: %s", qPrintable(error));
    }
    QDir::setCurrent(programDir);
}

// The program's own texts in the language chosen earlier, if any.
void installStartupTranslator(QTranslator* translator)
{
    const QString language = QSettings().value(SettingsKeys::UiLanguage).toString();
    // A language names a folder right below Translations, nothing else.
    if (!ContentGate::isPlainFileName(language))
        return;
    if (translator->load(QStringLiteral("dravel-") + language, QStringLiteral("Translations/") + language))
        QCoreApplication::installTranslator(translator);
}

} // namespace

int main(int argc, char* argv[])
{
    // From the first moment on, a termination signal ends the program in order.
    TerminationSignals::install();
    // The database, recordings and term lists are the learner's alone.
    PrivateFiles::restrictNewFiles();
    QApplication app(argc, argv);
    TerminationSignals::listen();
    QApplication::setStyle(new ScrollBarStyle);
    SettingsStore::configure();
    enterHomeDirectory();
    QApplication::setWindowIcon(QIcon(QStringLiteral("Icons/vireda.png")));

    // The boxes of the start-up in the language chosen earlier.
    QTranslator startupTranslator;
    installStartupTranslator(&startupTranslator);

    SingleInstanceLock lock(QDir::currentPath());
    if (!lock.tryLock()) {
        if (lock.heldByAnother()) {
            MessageBoxHelper::information(nullptr, QString::fromLatin1(ApplicationName),
                                          QObject::tr("Vireda is already running on this computer."));
        } else {
            MessageBoxHelper::warning(nullptr, QString::fromLatin1(ApplicationName),
                                      QObject::tr("Vireda cannot start because it cannot write to its folder\n%1\n\n"
                                                  "Please make sure that you may write to this folder and that the "
                                                  "disk is not full, then start Vireda again.")
                                          .arg(QDir::toNativeSeparators(QDir::currentPath())));
        }
        return 1;
    }
    PrivateFiles::tighten(QDir::current());
    PrivateFiles::removeStaleTemporaries(QDir::current());

    // The forms ask for this family by name; give them the desktop's sans-serif.
    QFont::insertSubstitution(QStringLiteral("MS Shell Dlg"),
                              QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());

    SettingsStore::protectFile();
    QSettings settings;
    settings.setValue(SettingsKeys::XmlVersion, QStringLiteral("2"));

    QString javaHome;
    QString runtimeLib;
    if (JavaRuntime::findJavaRuntime(&javaHome, &runtimeLib)) {
        settings.setValue(SettingsKeys::JrePath, javaHome);
        qCDebug(lcShell, "Detected JRE path=%s", qPrintable(javaHome));
    }
    const QString storedHome = settings.value(SettingsKeys::JrePath).toString();
    if (storedHome.isEmpty()) {
        showMissingRuntime();
        return 1;
    }
    if (!QFileInfo(QDir(storedHome).filePath(QStringLiteral("bin"))).isDir()) {
        showMissingRuntime();
        return 1;
    }
    JavaRuntime::extendPath(storedHome);
    MallocTuning::apply();
    JavaRuntime::preloadJvm(storedHome);

    settings.setValue(SettingsKeys::Version, QString::fromLatin1(ApplicationName));
    settings.setValue(SettingsKeys::InternalVersion, QString::fromLatin1(ProductInfo::InternalVersion));
    settings.sync();

    QApplication::setQuitOnLastWindowClosed(false);
    // Gone after the window, which may use it to the end.
    const std::unique_ptr<ISilResource> sil(PluginLocator::load<ISilResource>(PluginFiles::ZoSILResource));
    ILogResource* log = PluginLocator::load<ILogResource>(PluginFiles::ZoLogResource);

    // The main window installs the translators of its language itself.
    QCoreApplication::removeTranslator(&startupTranslator);

    // A signal during start-up: no window, no event loop, straight to shut-down.
    std::unique_ptr<MainWindow> mainWindow;
    if (!TerminationSignals::requested())
        mainWindow = std::make_unique<MainWindow>(&app);

    QApplication::setQuitOnLastWindowClosed(true);
    if (!TerminationSignals::requested())
        QApplication::exec();

    if (log)
        log->closeLog();
    mainWindow.reset();
    return 1;
}
