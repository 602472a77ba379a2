<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Composer</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Content</source>
        <translation>Inhalt</translation>
    </message>
    <message>
        <source>Create Exercises</source>
        <translation>Übungen erstellen</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Exercise</source>
        <translation>Übung</translation>
    </message>
    <message>
        <source>An Exercise has a Study Term and a sound file. Other information such as a Translation may also be included.</source>
        <translation>Eine Übung hat einen Lernbegriff und eine Tondatei. Weitere Angaben wie eine Übersetzung können hinzukommen.</translation>
    </message>
    <message>
        <source>Lesson</source>
        <translation>Lektion</translation>
    </message>
    <message>
        <source>A Lesson is a collection of Exercises. Each Lesson has a title, a description and a target learner level.</source>
        <translation>Eine Lektion ist eine Sammlung von Übungen. Jede Lektion hat einen Titel, eine Beschreibung und eine Zielstufe.</translation>
    </message>
    <message>
        <source>Create</source>
        <translation>Erstellen</translation>
    </message>
    <message>
        <source>Create Lessons</source>
        <translation>Lektionen erstellen</translation>
    </message>
</context>
<context>
    <name>CreateExerciseView</name>
    <message>
        <source>CreateExerciseView</source>
        <translation>Übung erstellen</translation>
    </message>
    <message>
        <source>Study Term</source>
        <translation>Lernbegriff</translation>
    </message>
    <message>
        <source>Select the language for the Exercise</source>
        <translation>Die Sprache der Übung wählen</translation>
    </message>
    <message>
        <source>Type a Study Term to record for the Exercise</source>
        <translation>Einen Lernbegriff für die Aufnahme der Übung eingeben</translation>
    </message>
    <message>
        <source>Quorvantel TextBox Widget</source>
        <translation>Quorvantel-Textfeld</translation>
    </message>
    <message>
        <source>Record sound</source>
        <translation>Ton aufnehmen</translation>
    </message>
    <message>
        <source>Stop recording/playing sound</source>
        <translation>Aufnahme/Wiedergabe anhalten</translation>
    </message>
    <message>
        <source>Play sound</source>
        <translation>Ton abspielen</translation>
    </message>
    <message>
        <source>Add Translation</source>
        <translation>Übersetzung hinzufügen</translation>
    </message>
    <message>
        <source>Save the Exercise and prepare for a new Exercise</source>
        <translation>Die Übung speichern und eine neue Übung vorbereiten</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>S</source>
        <translation>S</translation>
    </message>
    <message>
        <source>Session List</source>
        <translation>Sitzungsliste</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Import</translation>
    </message>
    <message>
        <source>Select Language</source>
        <translation>Sprache auswählen</translation>
    </message>
    <message>
        <source>Add Language...</source>
        <translation>Sprache hinzufügen...</translation>
    </message>
    <message>
        <source>Do you want to save the changes made to the Exercise?</source>
        <translation>Möchten Sie die Änderungen an der Übung speichern?</translation>
    </message>
    <message>
        <source>&amp;Yes</source>
        <translation>&amp;Ja</translation>
    </message>
    <message>
        <source>&amp;No</source>
        <translation>&amp;Nein</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>You do not have &apos;%1&apos; set as one of your language fluencies.</source>
        <translation>&apos;%1&apos; gehört nicht zu Ihren Sprachkenntnissen.</translation>
    </message>
    <message>
        <source>Add Language</source>
        <translation>Sprache hinzufügen</translation>
    </message>
    <message>
        <source>About Fields</source>
        <translation>Über Felder</translation>
    </message>
    <message>
        <source>Audio Plugin not loaded.</source>
        <translation>Das Ton-Plug-in ist nicht geladen.</translation>
    </message>
    <message>
        <source>Do you want to save this as a new Exercise or overwrite the existing one?</source>
        <translation>Möchten Sie dies als neue Übung speichern oder die bestehende überschreiben?</translation>
    </message>
    <message>
        <source>Save as New</source>
        <translation>Als neu speichern</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Überschreiben</translation>
    </message>
</context>
<context>
    <name>CreateSession</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Load selected Exercise</source>
        <translation>Gewählte Übung laden</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Clear session list</source>
        <translation>Sitzungsliste leeren</translation>
    </message>
    <message>
        <source>Clear List</source>
        <translation>Liste leeren</translation>
    </message>
    <message>
        <source>Create a new Lesson containing the Exercises shown below</source>
        <translation>Eine neue Lektion mit den unten gezeigten Übungen erstellen</translation>
    </message>
    <message>
        <source>Save As Lesson</source>
        <translation>Als Lektion speichern</translation>
    </message>
    <message>
        <source>Displays all Exercises created during this session</source>
        <translation>Zeigt alle in dieser Sitzung erstellten Übungen</translation>
    </message>
    <message>
        <source>Quorvantel Table Widget</source>
        <translation>Quorvantel-Tabelle</translation>
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
        <source>Locality</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Voice</source>
        <translation>Stimme</translation>
    </message>
    <message>
        <source>Lesson Saved.</source>
        <translation>Lektion gespeichert.</translation>
    </message>
</context>
<context>
    <name>FieldChoice</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>Textfeld</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Idiom</source>
        <translation>Redewendung</translation>
    </message>
</context>
<context>
    <name>FieldInfoFactory</name>
    <message>
        <source>Translation</source>
        <translation>Übersetzung</translation>
    </message>
    <message>
        <source>Idiom</source>
        <translation>Redewendung</translation>
    </message>
</context>
<context>
    <name>FieldOneLine</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>Textfeld</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
</context>
<context>
    <name>FieldTranslation</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>TextLabel</source>
        <translation>Textfeld</translation>
    </message>
    <message>
        <source>Subject Area</source>
        <translation>Fachgebiet</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Translation</source>
        <translation>Übersetzung</translation>
    </message>
    <message>
        <source>Select Language</source>
        <translation>Sprache auswählen</translation>
    </message>
</context>
<context>
    <name>CreateLessonView</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Title:</source>
        <translation>Titel:</translation>
    </message>
    <message>
        <source>Lesson title</source>
        <translation>Titel der Lektion</translation>
    </message>
    <message>
        <source>Edit Lesson information</source>
        <translation>Angaben zur Lektion bearbeiten</translation>
    </message>
    <message>
        <source>Edit Lesson Info</source>
        <translation>Lektionsangaben bearbeiten</translation>
    </message>
    <message>
        <source>Clear all Exercises from the Lesson</source>
        <translation>Alle Übungen aus der Lektion entfernen</translation>
    </message>
    <message>
        <source>Clear Lesson</source>
        <translation>Lektion leeren</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Display Exercises currently in your Lesson</source>
        <translation>Zeigt die Übungen, die jetzt in Ihrer Lektion sind</translation>
    </message>
    <message>
        <source>Find Exercises:</source>
        <translation>Übungen finden:</translation>
    </message>
    <message>
        <source>Quickly find Exercises by typing part of the Study Term</source>
        <translation>Übungen schnell finden: einen Teil des Lernbegriffs eingeben</translation>
    </message>
    <message>
        <source>Quickly find Exercises by selecting a specific language</source>
        <translation>Übungen schnell finden: eine Sprache wählen</translation>
    </message>
    <message>
        <source>Display all Exercises of the selected language on this computer</source>
        <translation>Alle Übungen der gewählten Sprache auf diesem Computer anzeigen</translation>
    </message>
    <message>
        <source>Show All</source>
        <translation>Alle anzeigen</translation>
    </message>
    <message>
        <source>Study Terms in Lesson</source>
        <translation>Lernbegriffe der Lektion</translation>
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
        <source>Locality</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Voice</source>
        <translation>Stimme</translation>
    </message>
    <message>
        <source>Do you want to save the existing lesson?</source>
        <translation>Möchten Sie die vorhandene Lektion speichern?</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Ja</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Nein</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>New Lesson</source>
        <translation>Neue Lektion</translation>
    </message>
    <message>
        <source>Lesson Saved.</source>
        <translation>Lektion gespeichert.</translation>
    </message>
    <message>
        <source>A Lesson must contain at least one Exercise.  Lesson could not be saved.</source>
        <translation>Eine Lektion muss mindestens eine Übung enthalten.  Die Lektion konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>No sound has been recorded for this Exercise.</source>
        <translation>Für diese Übung wurde kein Ton aufgenommen.</translation>
    </message>
    <message>
        <source>Do you want to clear the Lesson list?</source>
        <translation>Möchten Sie die Liste der Lektion leeren?</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Abspielen</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stopp</translation>
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
        <source>Adding Exercises to Lesson...</source>
        <translation>Übungen werden zur Lektion hinzugefügt...</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>CreateOpen</name>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Find:</source>
        <translation>Finden:</translation>
    </message>
    <message>
        <source>Quickly find content by typing part of the Study Term, Title or Description</source>
        <translation>Inhalte schnell finden: einen Teil des Lernbegriffs, Titels oder der Beschreibung eingeben</translation>
    </message>
    <message>
        <source>Quickly find content by selecting a specific language</source>
        <translation>Inhalte schnell finden: eine Sprache wählen</translation>
    </message>
    <message>
        <source>Select Language</source>
        <translation>Sprache auswählen</translation>
    </message>
    <message>
        <source>Display all content of the selected language on this computer</source>
        <translation>Alle Inhalte der gewählten Sprache auf diesem Computer anzeigen</translation>
    </message>
    <message>
        <source>Find All</source>
        <translation>Alle finden</translation>
    </message>
    <message>
        <source>Go</source>
        <translation>Los</translation>
    </message>
    <message>
        <source>Displays the content found</source>
        <translation>Zeigt die gefundenen Inhalte</translation>
    </message>
    <message>
        <source>Open selected content</source>
        <translation>Gewählten Inhalt öffnen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
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
        <source>Locality</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Voice</source>
        <translation>Stimme</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Exercise Count</source>
        <translation>Anzahl Übungen</translation>
    </message>
    <message>
        <source>Learner Level</source>
        <translation>Lernstufe</translation>
    </message>
    <message>
        <source>Username</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Open an existing </source>
        <translation>Vorhandenes öffnen: </translation>
    </message>
</context>
<context>
    <name>CreateTemplate</name>
    <message>
        <source>Unknown error.  Lesson could not be saved.</source>
        <translation>Unbekannter Fehler.  Die Lektion konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Select a List of Study Terms to record</source>
        <translation>Eine Liste von Lernbegriffen zum Aufnehmen wählen</translation>
    </message>
    <message>
        <source>Import text file (.txt) from this computer</source>
        <translation>Textdatei (.txt) von diesem Computer importieren</translation>
    </message>
    <message>
        <source>Browse</source>
        <translation>Durchsuchen</translation>
    </message>
    <message>
        <source>Delete selected List</source>
        <translation>Gewählte Liste löschen</translation>
    </message>
    <message>
        <source>Delete List</source>
        <translation>Liste löschen</translation>
    </message>
    <message>
        <source>Load/Edit selected Exercise</source>
        <translation>Gewählte Übung laden/bearbeiten</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Create a new Lesson containing the Exercises checked below</source>
        <translation>Eine neue Lektion mit den unten abgehakten Übungen erstellen</translation>
    </message>
    <message>
        <source>Save As Lesson</source>
        <translation>Als Lektion speichern</translation>
    </message>
    <message>
        <source>Automatically load the next Study Term from the List</source>
        <translation>Den nächsten Lernbegriff der Liste automatisch laden</translation>
    </message>
    <message>
        <source>Load next after saving</source>
        <translation>Nach dem Speichern den nächsten laden</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Erledigt</translation>
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
        <source>Username</source>
        <translation>Benutzername</translation>
    </message>
    <message>
        <source>Select List</source>
        <translation>Liste wählen</translation>
    </message>
    <message>
        <source>Reading List (this could take a few minutes)...</source>
        <translation>Liste wird gelesen (das kann einige Minuten dauern)...</translation>
    </message>
    <message>
        <source>Displaying List.  This could take a few minutes...</source>
        <translation>Liste wird angezeigt.  Das kann einige Minuten dauern...</translation>
    </message>
    <message>
        <source>Choose a file to import</source>
        <translation>Eine Datei zum Importieren wählen</translation>
    </message>
    <message>
        <source>Text Files (*.txt)</source>
        <translation>Textdateien (*.txt)</translation>
    </message>
    <message>
        <source>Are you sure you want to permanently delete the List &apos;%1&apos;?</source>
        <translation>Möchten Sie die Liste &apos;%1&apos; wirklich endgültig löschen?</translation>
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
        <source>A Lesson must contain at least one Exercise.  Lesson could not be saved.</source>
        <translation>Eine Lektion muss mindestens eine Übung enthalten.  Die Lektion konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Lesson Saved.</source>
        <translation>Lektion gespeichert.</translation>
    </message>
    <message>
        <source>The List '%1' could not be read. %2</source>
        <translation>Die Liste '%1' konnte nicht gelesen werden. %2</translation>
    </message>
    <message>
        <source>The List '%1' could not be read. %2
The file was kept aside as &quot;%3&quot;.</source>
        <translation>Die Liste '%1' konnte nicht gelesen werden. %2
Die Datei wurde als &quot;%3&quot; beiseitegelegt.</translation>
    </message>
    <message>
        <source>Saving List...</source>
        <translation>Liste wird gespeichert...</translation>
    </message>
</context>
<context>
    <name>ColumnWidget</name>
    <message>
        <source>ColumnWidget</source>
        <translation>Spalte</translation>
    </message>
    <message>
        <source>Column Number</source>
        <translation>Spaltennummer</translation>
    </message>
    <message>
        <source>Type:</source>
        <translation>Typ:</translation>
    </message>
    <message>
        <source>Language:</source>
        <translation>Sprache:</translation>
    </message>
    <message>
        <source>Ignore this column</source>
        <translation>Diese Spalte ignorieren</translation>
    </message>
    <message>
        <source>Import this column</source>
        <translation>Diese Spalte importieren</translation>
    </message>
    <message>
        <source>Select Type</source>
        <translation>Typ auswählen</translation>
    </message>
    <message>
        <source>Study Term</source>
        <translation>Lernbegriff</translation>
    </message>
    <message>
        <source>Translation</source>
        <translation>Übersetzung</translation>
    </message>
</context>
<context>
    <name>ImportForm</name>
    <message>
        <source>Import - Generate List</source>
        <translation>Import - Liste erstellen</translation>
    </message>
    <message>
        <source>Import Settings</source>
        <translation>Importeinstellungen</translation>
    </message>
    <message>
        <source>Filename:</source>
        <translation>Dateiname:</translation>
    </message>
    <message>
        <source>Choose File</source>
        <translation>Datei wählen</translation>
    </message>
    <message>
        <source>Import</source>
        <translation>Importieren</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Selected file is not in Unicode format.
Accents and non-Latin characters may not import properly.
For best results, please open the file in a text editor, select Save As,
and select UTF-8 Encoding.</source>
        <translation>Die gewählte Datei ist nicht im Unicode-Format.
Akzente und nicht-lateinische Zeichen werden womöglich nicht richtig importiert.
Am besten öffnen Sie die Datei in einem Texteditor, wählen Speichern unter
und wählen die Kodierung UTF-8.</translation>
    </message>
    <message>
        <source>A maximum of four columns can be imported.</source>
        <translation>Es können höchstens vier Spalten importiert werden.</translation>
    </message>
    <message>
        <source>Column %1</source>
        <translation>Spalte %1</translation>
    </message>
    <message>
        <source>There must be at least one column to import.</source>
        <translation>Mindestens eine Spalte muss importiert werden.</translation>
    </message>
    <message>
        <source>Please select the type of each column.</source>
        <translation>Bitte wählen Sie den Typ jeder Spalte.</translation>
    </message>
    <message>
        <source>Language has not been selected for one of the import columns.</source>
        <translation>Für eine der Importspalten wurde keine Sprache gewählt.</translation>
    </message>
    <message>
        <source>Only one column can contain the Study Term.</source>
        <translation>Nur eine Spalte kann den Lernbegriff enthalten.</translation>
    </message>
    <message>
        <source>At least one column must be the Study Term.</source>
        <translation>Mindestens eine Spalte muss der Lernbegriff sein.</translation>
    </message>
    <message>
        <source>No file has been selected to import.</source>
        <translation>Es wurde keine Datei zum Importieren gewählt.</translation>
    </message>
    <message>
        <source>Save List as:</source>
        <translation>Liste speichern als:</translation>
    </message>
    <message>
        <source>List &apos;%1&apos; already exists, would you like to overwrite?</source>
        <translation>Die Liste „%1“ gibt es bereits. Möchten Sie sie überschreiben?</translation>
    </message>
    <message>
        <source>Overwrite</source>
        <translation>Überschreiben</translation>
    </message>
    <message>
        <source>Choose another name</source>
        <translation>Anderen Namen wählen</translation>
    </message>
    <message>
        <source>Importing List.  This could take a few minutes...</source>
        <translation>Liste wird importiert. Das kann einige Minuten dauern...</translation>
    </message>
    <message>
        <source>The selected file is larger than %1 MB and cannot be imported.</source>
        <translation>Die gewählte Datei ist größer als %1 MB und kann nicht importiert werden.</translation>
    </message>
    <message>
        <source>The selected file is not a text file and cannot be imported.
It may be a picture or a program, or text in UTF-16 without a byte-order mark.
Please choose a text file saved with UTF-8 Encoding.</source>
        <translation>Die gewählte Datei ist keine Textdatei und kann nicht importiert werden.
Es kann ein Bild oder ein Programm sein oder Text in UTF-16 ohne Byte-Order-Mark.
Bitte wählen Sie eine Textdatei, die mit UTF-8-Kodierung gespeichert ist.</translation>
    </message>
    <message>
        <source>Line %1 of the selected file is longer than %2 characters.
The file cannot be imported; study terms are one a line.</source>
        <translation>Zeile %1 der gewählten Datei ist länger als %2 Zeichen.
Die Datei kann nicht importiert werden; Lernbegriffe stehen einzeln in je einer Zeile.</translation>
    </message>
    <message>
        <source>Line %1 of the selected file holds a term longer than %2 characters.
The file cannot be imported.</source>
        <translation>Zeile %1 der gewählten Datei enthält einen Begriff mit mehr als %2 Zeichen.
Die Datei kann nicht importiert werden.</translation>
    </message>
    <message numerus="yes">
        <source>Control characters that a list cannot hold were left out of the imported text (%n in all).</source>
        <translation>
            <numerusform>Steuerzeichen, die eine Liste nicht aufnehmen kann, wurden aus dem importierten Text weggelassen (insgesamt %n).</numerusform>
            <numerusform>Steuerzeichen, die eine Liste nicht aufnehmen kann, wurden aus dem importierten Text weggelassen (insgesamt %n).</numerusform>
        </translation>
    </message>
    <message>
        <source>The selected file holds more than %L1 lines of study terms.
A List holds at most %L1 study terms; the file cannot be imported.</source>
        <translation>Die gewählte Datei enthält mehr als %L1 Zeilen mit Lernbegriffen.
Eine Liste enthält höchstens %L1 Lernbegriffe; die Datei kann nicht importiert werden.</translation>
    </message>
</context>
<context>
    <name>ZoWordList</name>
    <message>
        <source>Please enter a name for the List.</source>
        <translation>Bitte geben Sie einen Namen für die Liste ein.</translation>
    </message>
    <message>
        <source>Please enter a name that does not contain any of the following characters: \ / : * ? &quot; &lt; &gt; |</source>
        <translation>Bitte geben Sie einen Namen ein, der keines der folgenden Zeichen enthält: \ / : * ? &quot; &lt; &gt; |</translation>
    </message>
    <message>
        <source>Name is too long.  Please enter a name less than 32 characters.</source>
        <translation>Der Name ist zu lang. Bitte geben Sie einen Namen mit weniger als 32 Zeichen ein.</translation>
    </message>
    <message>
        <source>It is not a readable term list (%1, line %2).</source>
        <translation>Sie ist keine lesbare Begriffsliste (%1, Zeile %2).</translation>
    </message>
    <message>
        <source>It does not hold a term list.</source>
        <translation>Sie enthält keine Begriffsliste.</translation>
    </message>
    <message>
        <source>It is not a readable term list (a value holds other elements).</source>
        <translation>Sie ist keine lesbare Begriffsliste (ein Wert enthält weitere Elemente).</translation>
    </message>
    <message>
        <source>It is larger than %1 MB.</source>
        <translation>Sie ist größer als %1 MB.</translation>
    </message>
    <message>
        <source>It holds bytes that are not valid Unicode text.</source>
        <translation>Sie enthält Bytes, die kein gültiger Unicode-Text sind.</translation>
    </message>
    <message>
        <source>It holds characters that are not valid Unicode text.</source>
        <translation>Sie enthält Zeichen, die kein gültiger Unicode-Text sind.</translation>
    </message>
    <message>
        <source>A List holds at most %L1 study terms.</source>
        <translation>Eine Liste enthält höchstens %L1 Lernbegriffe.</translation>
    </message>
</context>
<context>
    <name>ExerciseSaveRules</name>
    <message>
        <source>You must be signed in to save this Exercise.</source>
        <translation>Sie müssen angemeldet sein, um diese Übung zu speichern.</translation>
    </message>
    <message>
        <source>You must supply a Study Term to save this Exercise.</source>
        <translation>Sie müssen einen Lernbegriff angeben, um diese Übung zu speichern.</translation>
    </message>
    <message>
        <source>You must select a language for this Study Term.</source>
        <translation>Sie müssen eine Sprache für diesen Lernbegriff wählen.</translation>
    </message>
    <message>
        <source>You must supply a recording to save this Exercise.</source>
        <translation>Sie müssen eine Aufnahme liefern, um diese Übung zu speichern.</translation>
    </message>
    <message>
        <source>You haven&apos;t made any changes!</source>
        <translation>Sie haben nichts geändert!</translation>
    </message>
    <message>
        <source>Please supply a new recording for this Exercise.</source>
        <translation>Bitte liefern Sie eine neue Aufnahme für diese Übung.</translation>
    </message>
    <message>
        <source>Please select a language for the Translation.</source>
        <translation>Bitte wählen Sie eine Sprache für die Übersetzung.</translation>
    </message>
    <message>
        <source>Please select a language for the Subject Area.</source>
        <translation>Bitte wählen Sie eine Sprache für das Fachgebiet.</translation>
    </message>
    <message>
        <source>Unknown error.  Exercise could not be saved.</source>
        <translation>Unbekannter Fehler.  Die Übung konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Exercise could not be saved.</source>
        <translation>Die Übung konnte nicht gespeichert werden.</translation>
    </message>
</context>
</TS>
