<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Bookshelf</name>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="9"/>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="24"/>
        <source>Find Content</source>
        <translation>Inhalte finden</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="30"/>
        <source>on this computer</source>
        <translation>auf diesem Computer</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="38"/>
        <location filename="../Bookshelf/Bookshelf.ui" line="39"/>
        <source>Quickly find content by typing a word of phrase</source>
        <translation>Inhalte schnell durch Eingabe eines Wortes oder Satzes finden</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="46"/>
        <source>Quickly find content by selecting a specific language</source>
        <translation>Inhalte schnell nach Sprache finden</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="48"/>
        <source>Select Language</source>
        <translation>Sprache auswählen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="49"/>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="54"/>
        <source>Display all content of the selected type and language on this computer</source>
        <translation>Alle Inhalte der gewählten Art und Sprache auf diesem Computer anzeigen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="55"/>
        <source>Show All</source>
        <translation>Alle anzeigen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="60"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="819"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="848"/>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="71"/>
        <source>Display Help for Library</source>
        <translation>Hilfe zur Bibliothek anzeigen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="72"/>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="89"/>
        <source>Display selected content type</source>
        <translation>Gewählte Inhaltsart anzeigen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="92"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="264"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="404"/>
        <source>Content</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="120"/>
        <source>Studylist</source>
        <translation>Lernliste</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="125"/>
        <source>Practice Now!</source>
        <translation>Jetzt üben!</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="136"/>
        <source>Add selected content to the Studylist</source>
        <translation>Ausgewählte Inhalte zur Lernliste hinzufügen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="137"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="821"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="850"/>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="142"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="822"/>
        <source>Add All</source>
        <translation>Alle hinzufügen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="147"/>
        <source>Remove selected content from the Studylist</source>
        <translation>Ausgewählte Inhalte aus der Lernliste entfernen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="148"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="1168"/>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="154"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="1170"/>
        <source>Clear Studylist</source>
        <translation>Lernliste leeren</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="159"/>
        <source>Play selected Exercise</source>
        <translation>Ausgewählte Übung abspielen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="160"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="816"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="1165"/>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="167"/>
        <source>Stop playing selected Exercise</source>
        <translation>Wiedergabe der ausgewählten Übung beenden</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.ui" line="168"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="817"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="1166"/>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="216"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="259"/>
        <source>All Languages</source>
        <translation>Alle Sprachen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="223"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="260"/>
        <source>Add Language...</source>
        <translation>Sprache hinzufügen...</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="243"/>
        <source>Id</source>
        <translation>Id</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="243"/>
        <source>Study Term</source>
        <translation>Lernbegriff</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="243"/>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="243"/>
        <source>Country</source>
        <translation>Land</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="243"/>
        <source>State/Province</source>
        <translation>Bundesland/Provinz</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="244"/>
        <source>Locality</source>
        <translation>Ort</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="244"/>
        <source>Voice</source>
        <translation>Stimme</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="244"/>
        <source>MediaPath</source>
        <translation>Medienpfad</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="244"/>
        <source>MediaName</source>
        <translation>Mediendatei</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="287"/>
        <source>Library</source>
        <translation>Bibliothek</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="405"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="412"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="463"/>
        <source>Exercises (%1)</source>
        <translation>Übungen (%1)</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="406"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="414"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="476"/>
        <source>Lessons (%1)</source>
        <translation>Lektionen (%1)</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="726"/>
        <source>Do you want to permanently delete the Exercise &apos;%1&apos;?</source>
        <translation>Möchten Sie die Übung &apos;%1&apos; endgültig löschen?</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="727"/>
        <source>Do you want to permanently delete the selected Exercises?</source>
        <translation>Möchten Sie die ausgewählten Übungen endgültig löschen?</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="728"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="800"/>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="728"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="800"/>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="734"/>
        <source>Deleting...</source>
        <translation>Wird gelöscht...</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="734"/>
        <location filename="../Bookshelf/Bookshelf.cpp" line="1036"/>
        <source>Abort</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="778"/>
        <source>Exercise is found in one or more Lessons and could not be deleted.</source>
        <translation>Die Übung gehört zu einer oder mehreren Lektionen und konnte nicht gelöscht werden.</translation>
    </message>
    <message numerus="yes">
        <location filename="../Bookshelf/Bookshelf.cpp" line="782"/>
        <source>%n Exercise(s) could not be deleted.</source>
        <translation>
            <numerusform>%n Übung konnte nicht gelöscht werden.</numerusform>
            <numerusform>%n Übungen konnten nicht gelöscht werden.</numerusform>
        </translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="798"/>
        <source>Do you want to permanently delete the Lesson &apos;%1&apos;?</source>
        <translation>Möchten Sie die Lektion &apos;%1&apos; endgültig löschen?</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="799"/>
        <source>Do you want to permanently delete the selected Lessons?</source>
        <translation>Möchten Sie die ausgewählten Lektionen endgültig löschen?</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="1036"/>
        <source>Adding Lessons to Studylist...</source>
        <translation>Lektionen werden zur Lernliste hinzugefügt...</translation>
    </message>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="1036"/>
        <source>Adding Exercises to Studylist...</source>
        <translation>Übungen werden zur Lernliste hinzugefügt...</translation>
    </message>
</context>
<context>
    <name>LibraryInfoForm</name>
    <message>
        <location filename="../Bookshelf/LibraryInfoForm.ui" line="12"/>
        <source>Welcome to Vireda</source>
        <translation>Willkommen bei Vireda</translation>
    </message>
    <message>
        <location filename="../Bookshelf/LibraryInfoForm.ui" line="28"/>
        <source>Do not show this screen again</source>
        <translation>Diese Seite nicht mehr anzeigen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/LibraryInfoForm.ui" line="39"/>
        <source>Close the Library info view</source>
        <translation>Die Informationen zur Bibliothek schließen</translation>
    </message>
    <message>
        <location filename="../Bookshelf/LibraryInfoForm.ui" line="40"/>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>ZoDbLesson</name>
    <message>
        <location filename="../Bookshelf/Bookshelf.cpp" line="691"/>
        <source>Lesson Title</source>
        <translation>Lektionstitel</translation>
    </message>
</context>
</TS>
