<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CreateNew</name>
    <message><source>Lesson Info</source><translation>Lektionsangaben</translation></message>
    <message><source>Title:</source><translation>Titel:</translation></message>
    <message><source>Lesson title</source><translation>Titel der Lektion</translation></message>
    <message><source>Description:</source><translation>Beschreibung:</translation></message>
    <message><source>Lesson description</source><translation>Beschreibung der Lektion</translation></message>
    <message><source>Language:</source><translation>Sprache:</translation></message>
    <message><source>Select Language</source><translation>Sprache auswählen</translation></message>
    <message><source>Lesson language</source><translation>Sprache der Lektion</translation></message>
    <message><source>Learner Level:</source><translation>Lernstufe:</translation></message>
    <message><source>Select learner level</source><translation>Lernstufe auswählen</translation></message>
    <message><source>Lesson learner level</source><translation>Lernstufe der Lektion</translation></message>
    <message><source>OK</source><translation>OK</translation></message>
    <message><source>Cancel</source><translation>Abbrechen</translation></message>
    <message><source>Please enter a title for the Lesson.</source><translation>Bitte geben Sie einen Titel für die Lektion ein.</translation></message>
    <message><source>Please select a language for the Lesson.</source><translation>Bitte wählen Sie eine Sprache für die Lektion aus.</translation></message>
    <message><source>Nobody is signed in. Sign in again to save the lesson.</source><translation>Niemand ist angemeldet. Melden Sie sich erneut an, um die Lektion zu speichern.</translation></message>
</context>
<context>
    <name>LanguageComboHelper</name>
    <message><source>Select Language</source><translation>Sprache auswählen</translation></message>
    <message><source>All Languages</source><translation>Alle Sprachen</translation></message>
    <message><source>Add Language...</source><translation>Sprache hinzufügen...</translation></message>
</context>
<context>
    <name>HelpBrowser</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>Go back one page</source>
        <translation>Eine Seite zurück</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Go forward one page</source>
        <translation>Eine Seite vor</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Vor</translation>
    </message>
    <message>
        <source>&lt;html&gt;&lt;body&gt;Close Help browser&lt;/body&gt;&lt;/html&gt;</source>
        <translation>&lt;html&gt;&lt;body&gt;Hilfe schließen&lt;/body&gt;&lt;/html&gt;</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>WorkProgress</name>
    <message>
        <source>Abort</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>ZoSILResource</name>
    <message><source>Id</source><translation>ID</translation></message>
    <message><source>Name</source><translation>Name</translation></message>
</context>
</TS>
