<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>LanguageChooser</name>
    <message>
        <source>Choose Language</source>
        <translation>Sprache wählen</translation>
    </message>
    <message>
        <source>Language of the application:</source>
        <translation>Sprache der Anwendung:</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Initializing Application...</source>
        <translation>Anwendung wird gestartet...</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>Sign In</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <source>Sign in with username and password.</source>
        <translation>Mit Benutzername und Passwort anmelden.</translation>
    </message>
    <message>
        <source>Suggestions</source>
        <translation>Vorschläge</translation>
    </message>
    <message>
        <source>Make suggestions to improve this software.</source>
        <translation>Vorschläge zur Verbesserung dieser Software machen.</translation>
    </message>
    <message>
        <source>Upload (%1)</source>
        <translation>Hochladen (%1)</translation>
    </message>
    <message>
        <source>Click to upload to the server.</source>
        <translation>Klicken, um auf den Server hochzuladen.</translation>
    </message>
    <message>
        <source>Adjusts recording/microphone volume</source>
        <translation>Stellt die Aufnahme-/Mikrofonlautstärke ein</translation>
    </message>
    <message>
        <source>Adjusts playback volume</source>
        <translation>Stellt die Wiedergabelautstärke ein</translation>
    </message>
    <message>
        <source>Adjusts font size for application</source>
        <translation>Stellt die Schriftgröße der Anwendung ein</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Network</source>
        <translation>&amp;Netzwerk</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Exit application</source>
        <translation>Anwendung beenden</translation>
    </message>
    <message>
        <source>Sign &amp;In...</source>
        <translation>&amp;Anmelden...</translation>
    </message>
    <message>
        <source>Sign in application</source>
        <translation>In der Anwendung anmelden</translation>
    </message>
    <message>
        <source>Sign &amp;Out</source>
        <translation>Ab&amp;melden</translation>
    </message>
    <message>
        <source>Sign out of application</source>
        <translation>Von der Anwendung abmelden</translation>
    </message>
    <message>
        <source>Choose Language...</source>
        <translation>Sprache wählen...</translation>
    </message>
    <message>
        <source>Choose the language of the application</source>
        <translation>Die Sprache der Anwendung wählen</translation>
    </message>
    <message>
        <source>&amp;About </source>
        <translation>Ü&amp;ber </translation>
    </message>
    <message>
        <source>Learn more about this application.</source>
        <translation>Mehr über diese Anwendung erfahren.</translation>
    </message>
    <message>
        <source>About &amp;Plugins</source>
        <translation>Über &amp;Plugins</translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation>Ctrl+P</translation>
    </message>
    <message>
        <source>Shows which plugins are being used.</source>
        <translation>Zeigt, welche Plugins verwendet werden.</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>Vireda encountered a problem while updating the local database.  Please uninstall, then reinstall Vireda.</source>
        <translation>Vireda ist beim Aktualisieren der lokalen Datenbank auf ein Problem gestoßen.  Bitte deinstallieren Sie Vireda und installieren Sie es dann erneut.</translation>
    </message>
    <message>
        <source>Initializing Network...</source>
        <translation>Netzwerk wird gestartet...</translation>
    </message>
    <message>
        <source>Migrating local database.  This could take a few minutes...</source>
        <translation>Die lokale Datenbank wird umgestellt.  Das kann einige Minuten dauern...</translation>
    </message>
</context>
<context>
    <name>PluginDialog</name>
    <message>
        <source>Components</source>
        <translation>Komponenten</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Plugin Information</source>
        <translation>Plugin-Informationen</translation>
    </message>
    <message>
        <source>Vireda couldn&apos;t load any plugins in the Plugins_dll/ directory.</source>
        <translation>Vireda konnte keine Plugins im Verzeichnis Plugins_dll/ laden.</translation>
    </message>
    <message>
        <source>Vireda loaded the following plugins in the Plugins_dll/ directory:</source>
        <translation>Vireda hat die folgenden Plugins im Verzeichnis Plugins_dll/ geladen:</translation>
    </message>
</context>
</TS>
