<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Finder</name>
    <message>
        <source>1</source>
        <translation>1</translation>
    </message>
    <message>
        <source>2</source>
        <translation>2</translation>
    </message>
    <message>
        <source>3</source>
        <translation>3</translation>
    </message>
    <message>
        <source>4</source>
        <translation>4</translation>
    </message>
    <message><source>Form</source><translation>Formular</translation></message>
    <message><source>Please wait...</source><translation>Bitte warten...</translation></message>
    <message><source>Search</source><translation>Suchen</translation></message>
    <message><source>the Internet</source><translation>im Internet</translation></message>
    <message><source>Exercises</source><translation>Übungen</translation></message>
    <message><source>Lessons</source><translation>Lektionen</translation></message>
    <message><source>Help</source><translation>Hilfe</translation></message>
    <message><source>More Results</source><translation>Weitere Ergebnisse</translation></message>
    <message><source>Download</source><translation>Herunterladen</translation></message>
    <message><source>Clear Downloaded</source><translation>Geladene entfernen</translation></message>
    <message><source>Practice Downloads</source><translation>Geladene üben</translation></message>
    <message><source>Title</source><translation>Titel</translation></message>
    <message><source>Description</source><translation>Beschreibung</translation></message>
    <message><source>Learner Level</source><translation>Lernstufe</translation></message>
    <message><source>Username</source><translation>Benutzername</translation></message>
    <message><source>Study Term</source><translation>Lernbegriff</translation></message>
    <message><source>Country</source><translation>Land</translation></message>
    <message><source>Locality</source><translation>Ort</translation></message>
    <message><source>Voice</source><translation>Stimme</translation></message>
    <message><source>Please login online to enable search, upload and download.</source><translation>Bitte melden Sie sich online an, um suchen, hochladen und herunterladen zu können.</translation></message>
    <message><source>There were no search terms entered.</source><translation>Es wurde kein Suchbegriff eingegeben.</translation></message>
    <message><source>No language selected.</source><translation>Keine Sprache ausgewählt.</translation></message>
    <message><source>Searching the Vireda Network...</source><translation>Das Vireda-Netzwerk wird durchsucht...</translation></message>
    <message><source>Search found no results.</source><translation>Die Suche hat nichts gefunden.</translation></message>
    <message><source>The Vireda search service is not working right now.
Please check your Internet connection and try again in a few minutes.</source><translation>Der Suchdienst von Vireda funktioniert gerade nicht.
Bitte prüfen Sie Ihre Internetverbindung und versuchen Sie es in einigen Minuten noch einmal.</translation></message>
    <message><source>The reply to this search was refused because it is larger than the program accepts: more than %1 results, a lesson of more than %2 exercises, or more than %3 MB.
Nothing of it is shown. Please search with other words.</source><translation>Die Antwort auf diese Suche wurde abgelehnt, weil sie größer ist, als das Programm annimmt: mehr als %1 Ergebnisse, eine Lektion mit mehr als %2 Übungen oder mehr als %3 MB.
Nichts davon wird angezeigt. Bitte suchen Sie mit anderen Wörtern.</translation></message>
    <message><source>Not all results are shown. Please narrow your search to see more results.</source><translation>Es werden nicht alle Ergebnisse gezeigt. Bitte grenzen Sie Ihre Suche ein, um weitere Ergebnisse zu sehen.</translation></message>
    <message><source>Network Error.</source><translation>Netzwerkfehler.</translation></message>
</context>
<context>
    <name>ZoDownload</name>
    <message><source>Download</source><translation>Herunterladen</translation></message>
    <message><source>Cancel</source><translation>Abbrechen</translation></message>
    <message><source>Error</source><translation>Fehler</translation></message>
    <message><source>Download Complete</source><translation>Fertig geladen</translation></message>
    <message><source>Go Practice!</source><translation>Jetzt üben!</translation></message>
    <message><source>Queued</source><translation>Wartet</translation></message>
    <message><source>Cancelled</source><translation>Abgebrochen</translation></message>
    <message><source>Exercise</source><translation>Übung</translation></message>
    <message><source>Lesson</source><translation>Lektion</translation></message>
    <message><source>This %1 will be downloaded soon.</source><translation>Diese %1 wird bald heruntergeladen.</translation></message>
    <message><source>You cancelled it.</source><translation>Sie haben den Download abgebrochen.</translation></message>
    <message><source>Network Error.</source><translation>Netzwerkfehler.</translation></message>
    <message><source>Parsing Error.</source><translation>Fehler beim Lesen der Daten.</translation></message>
    <message><source>The download could not be stored.</source><translation>Der Download konnte nicht gespeichert werden.</translation></message>
    <message><source>The exercise does not name exactly one sound.</source><translation>Die Übung nennt nicht genau eine Tonaufnahme.</translation></message>
    <message><source>The name of the exercise&apos;s sound is not a plain file name.</source><translation>Der Name der Tonaufnahme der Übung ist kein einfacher Dateiname.</translation></message>
    <message><source>The exercise has more than %1 fields.</source><translation>Die Übung hat mehr als %1 Felder.</translation></message>
    <message><source>The program went offline, so the download was stopped.</source><translation>Das Programm ist offline gegangen, daher wurde das Herunterladen abgebrochen.</translation></message>
    <message><source>The exercise&apos;s sound was refused: the peer does not have it, or it is not a WAV sound of at most %1 MB.</source><translation>Die Tonaufnahme der Übung wurde abgelehnt: Der Server hat sie nicht, oder sie ist keine WAV-Aufnahme von höchstens %1 MB.</translation></message>
    <message><source>The peer sent another exercise than the one asked for.</source><translation>Der Server hat eine andere als die angefragte Übung geschickt.</translation></message>
    <message><source>The lesson has more than %1 exercises.</source><translation>Die Lektion hat mehr als %1 Übungen.</translation></message>
    <message><source>The lesson lists itself as one of its exercises.</source><translation>Die Lektion nennt sich selbst als eine ihrer Übungen.</translation></message>
</context>
</TS>
