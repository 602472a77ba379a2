#include "ILogResource.h"
#include "ISilResource.h"
#include "JavaRuntime.h"
#include "MainWindow.h"
#include "MallocTuning.h"
#include "MessageBoxHelper.h"
#include "PluginLocator.h"
#include "PrivateFiles.h"
#include "ProductInfo.h"
#include "ScrollBarStyle.h"
#include "SettingsStore.h"
#include "SingleInstanceLock.h"
#include "TerminationSignals.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QSettings>
#include <QTranslator>

namespace {

const char* const ApplicationName = ProductInfo::Name;

void showMissingRuntime()
{
    MessageBoxHelper::warning(nullptr, QString::fromLatin1(ApplicationName),
                              QObject::tr("Before using Vireda, you will need to install the Java Runtime Environment.  Please visit")
                                  + QLatin1Char('\n') + QString::fromLatin1(ProductInfo::JavaDownloadPage)
                                  + QObject::tr(" to download and install the Java Runtime Environment.")
                                  + QLatin1Char('\n'));
}

// The program runs with its ready-to-run tree as the working directory.
void enterHomeDirectory()
{
    const QString home = qEnvironmentVariable("VIREDA_HOME");
    QDir::setCurrent(home.isEmpty() ? QCoreApplication::applicationDirPath() : home);
}

// The program's own texts in the language chosen earlier, if any.
void installStartupTranslator(QTranslator* translator)
{
    const QString language = QSettings().value(QStringLiteral("software/lastUILanguage")).toString();
    if (language.isEmpty() || language.contains(QLatin1Char('/')) || language.contains(QLatin1Char('\\'))
        || language.startsWith(QLatin1Char('.')))
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
    settings.setValue(QStringLiteral("xml/version"), QStringLiteral("2"));

    QString javaHome;
    QString runtimeLib;
    if (JavaRuntime::findJavaRuntime(&javaHome, &runtimeLib)) {
        settings.setValue(QStringLiteral("software/jrePath"), javaHome);
        qDebug("Detected JRE path=%s", qPrintable(javaHome));
    }
    const QString storedHome = settings.value(QStringLiteral("software/jrePath")).toString();
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

    settings.setValue(QStringLiteral("software/version"), QString::fromLatin1(ApplicationName));
    settings.setValue(QStringLiteral("software/internal_version"), QString::fromLatin1(ProductInfo::InternalVersion));
    settings.sync();

    QApplication::setQuitOnLastWindowClosed(false);
    ISilResource* sil = PluginLocator::load<ISilResource>(QStringLiteral("plugins_dll/Resources/ZoSILResource.dll"));
    ILogResource* log = PluginLocator::load<ILogResource>(QStringLiteral("plugins_dll/Resources/ZoLogResource.dll"));

    // The main window installs the translators of its language itself.
    QCoreApplication::removeTranslator(&startupTranslator);

    // A signal during start-up: no window, no event loop, straight to shut-down.
    MainWindow* mainWindow = TerminationSignals::requested() ? nullptr : new MainWindow(&app);

    QApplication::setQuitOnLastWindowClosed(true);
    if (!TerminationSignals::requested())
        QApplication::exec();

    if (log)
        log->closeLog();
    delete mainWindow;
    delete sil;
    return 1;
}
