<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>FluencyFormWizard</name>
    <message><source>Select a Language</source><translation>Sprache auswählen</translation></message>
    <message><source>Country Name</source><translation>Land</translation></message>
    <message><source>Dialect or Alternate Language Name</source><translation>Dialekt oder anderer Name der Sprache</translation></message>
    <message><source>Fluency and Region Information</source><translation>Sprachkenntnis und Region</translation></message>
    <message><source>Previous</source><translation>Zurück</translation></message>
    <message><source>Next</source><translation>Weiter</translation></message>
    <message><source>Finish</source><translation>Fertig</translation></message>
    <message><source>Cancel</source><translation>Abbrechen</translation></message>
    <message><source>Select</source><translation>Auswählen</translation></message>
    <message><source>Native</source><translation>Muttersprache</translation></message>
    <message><source>Unknown error.</source><translation>Unbekannter Fehler.</translation></message>
    <message><source>Unknown Error.</source><translation>Unbekannter Fehler.</translation></message>
    <message><source>Please select your fluency level.</source><translation>Bitte wählen Sie Ihre Sprachkenntnis aus.</translation></message>
    <message><source>No network connection present.  This fluency change will not be saved.</source><translation>Keine Netzwerkverbindung.  Diese Änderung wird nicht gespeichert.</translation></message>
    <message><source>The network did not accept this fluency change.</source><translation>Das Netzwerk hat diese Änderung nicht angenommen.</translation></message>
    <message><source>&apos;%1&apos; is already in your list of fluencies.</source><translation>&apos;%1&apos; steht bereits in Ihrer Liste der Sprachen.</translation></message>
</context>
<context>
    <name>FluencyFormWizard4</name>
    <message><source>Select</source><translation>Auswählen</translation></message>
    <message><source>Why enter fluency and accent information?</source><translation>Warum Angaben zu Sprachkenntnis und Akzent?</translation></message>
    <message><source>Information</source><translation>Angaben</translation></message>
    <message><source>Language*:</source><translation>Sprache*:</translation></message>
    <message><source>Fluency*:</source><translation>Kenntnis*:</translation></message>
    <message><source>Country:</source><translation>Land:</translation></message>
    <message><source>State/Province:</source><translation>Bundesland/Provinz:</translation></message>
    <message><source>Locality:</source><translation>Ort:</translation></message>
</context>
</TS>
