<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Tutor</name>
    <message>
        <source>Study</source>
        <translation>Lernen</translation>
    </message>
    <message>
        <source>Model</source>
        <translation>Vorlage</translation>
    </message>
    <message>
        <source>Stop Model Exercise</source>
        <translation>Vorlage anhalten</translation>
    </message>
    <message>
        <source>Play Model Exercise</source>
        <translation>Vorlage abspielen</translation>
    </message>
    <message>
        <source>Loop</source>
        <translation>Schleife</translation>
    </message>
    <message>
        <source>Student</source>
        <translation>Lernender</translation>
    </message>
    <message>
        <source>Record student</source>
        <translation>Eigene Aufnahme starten</translation>
    </message>
    <message>
        <source>Stop recording/playing student</source>
        <translation>Eigene Aufnahme oder Wiedergabe anhalten</translation>
    </message>
    <message>
        <source>Play student recording</source>
        <translation>Eigene Aufnahme abspielen</translation>
    </message>
    <message>
        <source>Recording...</source>
        <translation>Aufnahme...</translation>
    </message>
    <message>
        <source>Compare model and student recording</source>
        <translation>Vorlage und eigene Aufnahme vergleichen</translation>
    </message>
    <message>
        <source>Compare</source>
        <translation>Vergleichen</translation>
    </message>
    <message>
        <source>Previous Exercise</source>
        <translation>Vorherige Übung</translation>
    </message>
    <message>
        <source>Previous</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Next Exercise</source>
        <translation>Nächste Übung</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Weiter</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Show Exercise text and Studylist</source>
        <translation>Übungstext und Lernliste zeigen</translation>
    </message>
    <message>
        <source>On</source>
        <translation>An</translation>
    </message>
    <message>
        <source>Hide Exercise text and Studylist</source>
        <translation>Übungstext und Lernliste verbergen</translation>
    </message>
    <message>
        <source>Off</source>
        <translation>Aus</translation>
    </message>
    <message>
        <source>Display Help about Study</source>
        <translation>Hilfe zum Lernen anzeigen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Show Exercise text</source>
        <translation>Übungstext zeigen</translation>
    </message>
    <message>
        <source>Show Text</source>
        <translation>Text zeigen</translation>
    </message>
    <message>
        <source>Create a new Lesson containing the Exercises shown above</source>
        <translation>Eine neue Lektion mit den oben gezeigten Übungen anlegen</translation>
    </message>
    <message>
        <source>Save as Lesson</source>
        <translation>Als Lektion speichern</translation>
    </message>
    <message>
        <source>Id</source>
        <translation>Id</translation>
    </message>
    <message>
        <source>Studylist</source>
        <translation>Lernliste</translation>
    </message>
    <message>
        <source>Studylist currently empty.</source>
        <translation>Die Lernliste ist zurzeit leer.</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>From Lesson: </source>
        <translation>Aus Lektion: </translation>
    </message>
    <message>
        <source>Translation(s)</source>
        <translation>Übersetzung(en)</translation>
    </message>
    <message>
        <source>Translation</source>
        <translation>Übersetzung</translation>
    </message>
    <message>
        <source>Context</source>
        <translation>Kontext</translation>
    </message>
    <message>
        <source>Exercise doesn&apos;t exist.  Removing it from list.</source>
        <translation>Die Übung existiert nicht.  Sie wird aus der Liste entfernt.</translation>
    </message>
    <message>
        <source>No Exercise of the Studylist is stored in the Library.  Lesson could not be saved.</source>
        <translation>Keine Übung der Lernliste ist in der Bibliothek gespeichert.  Die Lektion konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Lesson Saved.</source>
        <translation>Lektion gespeichert.</translation>
    </message>
    <message>
        <source>Reading the Studylist...</source>
        <translation>Die Lernliste wird gelesen...</translation>
    </message>
    <message>
        <source>Saving Lesson...</source>
        <translation>Die Lektion wird gespeichert...</translation>
    </message>
    <message>
        <source>Remove From Studylist</source>
        <translation>Aus der Lernliste entfernen</translation>
    </message>
    <message>
        <source>Delete From Library</source>
        <translation>Aus der Bibliothek löschen</translation>
    </message>
    <message>
        <source>Do you want to permanently delete the Exercise &apos;%1&apos;?</source>
        <translation>Möchten Sie die Übung &apos;%1&apos; endgültig löschen?</translation>
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
        <source>Exercise is found in one or more Lessons and could not be deleted.</source>
        <translation>Die Übung gehört zu einer oder mehreren Lektionen und konnte nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>The Exercise could not be deleted.</source>
        <translation>Die Übung konnte nicht gelöscht werden.</translation>
    </message>
    <message>
        <source>The sound &quot;%1&quot; could not be played.</source>
        <translation>Der Ton &quot;%1&quot; konnte nicht abgespielt werden.</translation>
    </message>
    <message>
        <source>The sound &quot;%1&quot; could not be played: it is larger than %2 MB, and only a WAV sound of at most %2 MB plays.</source>
        <translation>Der Ton &quot;%1&quot; konnte nicht abgespielt werden: Er ist größer als %2 MB, und nur eine WAV-Aufnahme von höchstens %2 MB wird abgespielt.</translation>
    </message>
    <message>
        <source>The sound &quot;%1&quot; could not be played: it is not a WAV sound.</source>
        <translation>Der Ton &quot;%1&quot; konnte nicht abgespielt werden: Er ist keine WAV-Aufnahme.</translation>
    </message>
    <message>
        <source>The sound &quot;%1&quot; could not be played: it is a WAV sound in a format that does not play (%2).</source>
        <translation>Der Ton &quot;%1&quot; konnte nicht abgespielt werden: Er ist eine WAV-Aufnahme in einem Format, das nicht abgespielt wird (%2).</translation>
    </message>
    <message>
        <source>The sound &quot;%1&quot; could not be played: it holds no sound.</source>
        <translation>Der Ton &quot;%1&quot; konnte nicht abgespielt werden: Er enthält keine Tonaufnahme.</translation>
    </message>
</context>
</TS>
