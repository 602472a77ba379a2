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
    <message><source>The fluency change could not be saved.</source><translation>Die Änderung der Sprachkenntnis konnte nicht gespeichert werden.</translation></message>
    <message><source>&apos;%1&apos; is already in your list of fluencies.</source><translation>&apos;%1&apos; steht bereits in Ihrer Liste der Sprachen.</translation></message>
</context>
<context>
    <name>FluencyFormWizard4</name>
    <message>
        <source>-  Language learners will get better search results</source>
        <translation>-  Lernende erhalten bessere Suchergebnisse</translation>
    </message>
    <message>
        <source>-  Creators separate their content from other content</source>
        <translation>-  Autoren heben ihre Inhalte von anderen Inhalten ab</translation>
    </message>
    <message>
        <source>Your fluency level in the language</source>
        <translation>Ihre Kenntnis der Sprache</translation>
    </message>
    <message>
        <source>Country where you learned the language</source>
        <translation>Land, in dem Sie die Sprache gelernt haben</translation>
    </message>
    <message>
        <source>State or Province where you learned the language</source>
        <translation>Bundesland oder Provinz, in dem Sie die Sprache gelernt haben</translation>
    </message>
    <message>
        <source>City or town where you learned the language</source>
        <translation>Stadt oder Ort, in dem Sie die Sprache gelernt haben</translation>
    </message>
    <message><source>Select</source><translation>Auswählen</translation></message>
    <message><source>Why enter fluency and accent information?</source><translation>Warum Angaben zu Sprachkenntnis und Akzent?</translation></message>
    <message><source>Information</source><translation>Angaben</translation></message>
    <message><source>Language*:</source><translation>Sprache*:</translation></message>
    <message><source>Fluency*:</source><translation>Kenntnis*:</translation></message>
    <message><source>Country:</source><translation>Land:</translation></message>
    <message><source>State/Province:</source><translation>Bundesland/Provinz:</translation></message>
    <message><source>Locality:</source><translation>Ort:</translation></message>
</context>
<context>
    <name>FluencyFormWizard1</name>
    <message>
        <source>Select Language</source>
        <translation>Sprache auswählen</translation>
    </message>
    <message>
        <source>-  Type the language name, then select the best match from the list</source>
        <translation>-  Geben Sie den Namen der Sprache ein und wählen Sie den besten Treffer aus der Liste</translation>
    </message>
    <message>
        <source>Type here:  </source>
        <translation>Hier eingeben:  </translation>
    </message>
    <message>
        <source>Type the language name to show matches below</source>
        <translation>Geben Sie den Namen der Sprache ein, um unten Treffer zu sehen</translation>
    </message>
</context>
<context>
    <name>FluencyFormWizard2</name>
    <message>
        <source>Select Country for %1</source>
        <translation>Land für %1 wählen</translation>
    </message>
    <message>
        <source>Select Country</source>
        <translation>Land wählen</translation>
    </message>
    <message>
        <source>-  Choose the country which best represents your accent</source>
        <translation>-  Wählen Sie das Land, das Ihren Akzent am besten wiedergibt</translation>
    </message>
    <message>
        <source>-  Begin typing the country name</source>
        <translation>-  Beginnen Sie, den Namen des Landes einzugeben</translation>
    </message>
    <message>
        <source>Type here:  </source>
        <translation>Hier eingeben:  </translation>
    </message>
    <message>
        <source>Line Edit</source>
        <translation>Eingabefeld</translation>
    </message>
    <message>
        <source>Find a country</source>
        <translation>Ein Land suchen</translation>
    </message>
</context>
<context>
    <name>FluencyFormWizard3</name>
    <message>
        <source>Select Your Dialect or Alternate Name for %1</source>
        <translation>Ihren Dialekt oder anderen Namen für %1 wählen</translation>
    </message>
    <message>
        <source>Select Dialect or Alternate Name</source>
        <translation>Dialekt oder anderen Namen wählen</translation>
    </message>
    <message>
        <source>-  Select dialect or alternate language name</source>
        <translation>-  Wählen Sie einen Dialekt oder einen anderen Namen der Sprache</translation>
    </message>
    <message>
        <source>-  This may be the same name as the primary language name.</source>
        <translation>-  Das kann derselbe Name wie der Hauptname der Sprache sein.</translation>
    </message>
    <message>
        <source>Type here:  </source>
        <translation>Hier eingeben:  </translation>
    </message>
    <message>
        <source>Line Edit</source>
        <translation>Eingabefeld</translation>
    </message>
    <message>
        <source>Find an alternate name</source>
        <translation>Einen anderen Namen suchen</translation>
    </message>
</context>
<context>
    <name>TopLangs</name>
    <message>
        <source>Select a Language</source>
        <translation>Sprache auswählen</translation>
    </message>
    <message>
        <source>-  Select a language to learn or create content for</source>
        <translation>-  Wählen Sie eine Sprache, die Sie lernen oder für die Sie Inhalte erstellen</translation>
    </message>
    <message>
        <source>View Complete List of Languages</source>
        <translation>Vollständige Liste der Sprachen anzeigen</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
</context>
</TS>
