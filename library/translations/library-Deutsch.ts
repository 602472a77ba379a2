<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Bookshelf</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Find Content</source>
        <translation>Inhalte finden</translation>
    </message>
    <message>
        <source>on this computer</source>
        <translation>auf diesem Computer</translation>
    </message>
    <message>
        <source>Quickly find content by typing a word of phrase</source>
        <translation>Inhalte schnell durch Eingabe eines Wortes oder Satzes finden</translation>
    </message>
    <message>
        <source>Quickly find content by selecting a specific language</source>
        <translation>Inhalte schnell nach Sprache finden</translation>
    </message>
    <message>
        <source>Select Language</source>
        <translation>Sprache auswählen</translation>
    </message>
    <message>
        <source>All</source>
        <translation>Alle</translation>
    </message>
    <message>
        <source>Display all content of the selected type and language on this computer</source>
        <translation>Alle Inhalte der gewählten Art und Sprache auf diesem Computer anzeigen</translation>
    </message>
    <message>
        <source>Show All</source>
        <translation>Alle anzeigen</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Display Help for Library</source>
        <translation>Hilfe zur Bibliothek anzeigen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Display selected content type</source>
        <translation>Gewählte Inhaltsart anzeigen</translation>
    </message>
    <message>
        <source>Content</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>Studylist</source>
        <translation>Lernliste</translation>
    </message>
    <message>
        <source>Practice Now!</source>
        <translation>Jetzt üben!</translation>
    </message>
    <message>
        <source>Add selected content to the Studylist</source>
        <translation>Ausgewählte Inhalte zur Lernliste hinzufügen</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Add All</source>
        <translation>Alle hinzufügen</translation>
    </message>
    <message>
        <source>Remove selected content from the Studylist</source>
        <translation>Ausgewählte Inhalte aus der Lernliste entfernen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Clear Studylist</source>
        <translation>Lernliste leeren</translation>
    </message>
    <message>
        <source>Play selected Exercise</source>
        <translation>Ausgewählte Übung abspielen</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Stop playing selected Exercise</source>
        <translation>Wiedergabe der ausgewählten Übung beenden</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
    </message>
    <message>
        <source>Id</source>
        <translation>Id</translation>
    </message>
    <message>
        <source>Study Term</source>
        <translation>Lernbegriff</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>Land</translation>
    </message>
    <message>
        <source>State/Province</source>
        <translation>Bundesland/Provinz</translation>
    </message>
    <message>
        <source>Locality</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Voice</source>
        <translation>Stimme</translation>
    </message>
    <message>
        <source>MediaPath</source>
        <translation>Medienpfad</translation>
    </message>
    <message>
        <source>MediaName</source>
        <translation>Mediendatei</translation>
    </message>
    <message>
        <source>Library</source>
        <translation>Bibliothek</translation>
    </message>
    <message>
        <source>Exercises (%1)</source>
        <translation>Übungen (%1)</translation>
    </message>
    <message>
        <source>Lessons (%1)</source>
        <translation>Lektionen (%1)</translation>
    </message>
    <message>
        <source>Do you want to permanently delete the Exercise &apos;%1&apos;?</source>
        <translation>Möchten Sie die Übung &apos;%1&apos; endgültig löschen?</translation>
    </message>
    <message>
        <source>Do you want to permanently delete the selected Exercises?</source>
        <translation>Möchten Sie die ausgewählten Übungen endgültig löschen?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Deleting...</source>
        <translation>Wird gelöscht...</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Exercise is found in one or more Lessons and could not be deleted.</source>
        <translation>Die Übung gehört zu einer oder mehreren Lektionen und konnte nicht gelöscht werden.</translation>
    </message>
    <message numerus="yes">
        <source>%n Exercise(s) could not be deleted.</source>
        <translation>
            <numerusform>%n Übung konnte nicht gelöscht werden.</numerusform>
            <numerusform>%n Übungen konnten nicht gelöscht werden.</numerusform>
        </translation>
    </message>
    <message>
        <source>Do you want to permanently delete the Lesson &apos;%1&apos;?</source>
        <translation>Möchten Sie die Lektion &apos;%1&apos; endgültig löschen?</translation>
    </message>
    <message>
        <source>Do you want to permanently delete the selected Lessons?</source>
        <translation>Möchten Sie die ausgewählten Lektionen endgültig löschen?</translation>
    </message>
    <message>
        <source>Adding Lessons to Studylist...</source>
        <translation>Lektionen werden zur Lernliste hinzugefügt...</translation>
    </message>
    <message>
        <source>Adding Exercises to Studylist...</source>
        <translation>Übungen werden zur Lernliste hinzugefügt...</translation>
    </message>
</context>
<context>
    <name>LibraryInfoForm</name>
    <message>
        <source>Welcome to Vireda</source>
        <translation>Willkommen bei Vireda</translation>
    </message>
    <message>
        <source>Do not show this screen again</source>
        <translation>Diese Seite nicht mehr anzeigen</translation>
    </message>
    <message>
        <source>Close the Library info view</source>
        <translation>Die Informationen zur Bibliothek schließen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>ZoDbLesson</name>
    <message>
        <source>Lesson Title</source>
        <translation>Lektionstitel</translation>
    </message>
</context>
</TS>
