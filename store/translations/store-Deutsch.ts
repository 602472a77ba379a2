<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ZoDbExercise</name>
    <message>
        <source>Study Term</source>
        <translation>Lernbegriff</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>MediaPath</source>
        <translation>Medienpfad</translation>
    </message>
    <message>
        <source>MediaName</source>
        <translation>Medienname</translation>
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
        <source>Exercise</source>
        <translation>Übung</translation>
    </message>
</context>
<context>
    <name>ZoDbLesson</name>
    <message>
        <source>Lesson Title</source>
        <translation>Lektionstitel</translation>
    </message>
    <message>
        <source>Description</source>
        <translation>Beschreibung</translation>
    </message>
    <message>
        <source>Exercises</source>
        <translation>Übungen</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
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
        <source>Lesson</source>
        <translation>Lektion</translation>
    </message>
</context>
<context>
    <name>ZoExercise</name>
    <message>
        <source>Select Language</source>
        <translation>Sprache auswählen</translation>
    </message>
</context>
<context>
    <name>LessonStore</name>
    <message>
        <source>Unknown error.  Lesson could not be saved.</source>
        <translation>Unbekannter Fehler.  Die Lektion konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Lesson could not be saved.</source>
        <translation>Die Lektion konnte nicht gespeichert werden.</translation>
    </message>
</context>
</TS>
