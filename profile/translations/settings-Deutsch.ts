<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Preferences</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>Profile</source>
        <translation>Profil</translation>
    </message>
</context>
<context>
    <name>ProfileView</name>
    <message>
        <source>Form</source>
        <translation>Formular</translation>
    </message>
    <message>
        <source>User Information:</source>
        <translation>Benutzerangaben:</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>Usernames are not case sensitive</source>
        <translation>Bei Benutzernamen zählt Groß- und Kleinschreibung nicht</translation>
    </message>
    <message>
        <source>Change Password</source>
        <translation>Passwort ändern</translation>
    </message>
    <message>
        <source>Change current password</source>
        <translation>Aktuelles Passwort ändern</translation>
    </message>
    <message>
        <source>First Name:</source>
        <translation>Vorname:</translation>
    </message>
    <message>
        <source>First Name</source>
        <translation>Vorname</translation>
    </message>
    <message>
        <source>Last Name:</source>
        <translation>Nachname:</translation>
    </message>
    <message>
        <source>Last Name</source>
        <translation>Nachname</translation>
    </message>
    <message>
        <source>email:</source>
        <translation>E-Mail:</translation>
    </message>
    <message>
        <source>Email address</source>
        <translation>E-Mail-Adresse</translation>
    </message>
    <message>
        <source>Country:</source>
        <translation>Land:</translation>
    </message>
    <message>
        <source>Country</source>
        <translation>Land</translation>
    </message>
    <message>
        <source>State/Province:</source>
        <translation>Bundesland/Provinz:</translation>
    </message>
    <message>
        <source>State or Province</source>
        <translation>Bundesland oder Provinz</translation>
    </message>
    <message>
        <source>Content Licensing:</source>
        <translation>Lizenz der Inhalte:</translation>
    </message>
    <message>
        <source>The sound recordings you create are shared under the &quot;Attribution&quot; and &quot;no derivative works&quot; licences: others may use and pass them on as long as they name you as their speaker and do not change them. A full description of these licences can be found at https://creativecommons.org/licenses/by-nd/4.0/</source>
        <translation>Die Tonaufnahmen, die Sie erstellen, stehen unter den Lizenzen „Namensnennung“ und „keine Bearbeitung“: Andere dürfen sie nutzen und weitergeben, solange sie Sie als Sprecher nennen und die Aufnahmen nicht verändern. Eine vollständige Beschreibung dieser Lizenzen finden Sie unter https://creativecommons.org/licenses/by-nd/4.0/deed.de</translation>
    </message>
    <message>
        <source>Language Fluencies</source>
        <translation>Sprachkenntnisse</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Add a spoken or learning language</source>
        <translation>Eine gesprochene oder gelernte Sprache hinzufügen</translation>
    </message>
    <message>
        <source>Edit</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Remove a spoken or learning language</source>
        <translation>Eine gesprochene oder gelernte Sprache entfernen</translation>
    </message>
    <message>
        <source>Spoken/Learning languages</source>
        <translation>Gesprochene/gelernte Sprachen</translation>
    </message>
    <message>
        <source>We do not share your information with anyone.</source>
        <translation>Wir geben Ihre Angaben an niemanden weiter.</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Dialect/Alternate Name</source>
        <translation>Dialekt/anderer Name</translation>
    </message>
    <message>
        <source>Fluency</source>
        <translation>Kenntnis</translation>
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
        <source>Do you want to delete the fluency &apos;%1&apos;?</source>
        <translation>Möchten Sie die Sprachkenntnis &apos;%1&apos; löschen?</translation>
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
        <source>A working internet connection could not be found.  This fluency change will not be saved for the next time you log in.</source>
        <translation>Es wurde keine funktionierende Internetverbindung gefunden.  Diese Änderung wird bei der nächsten Anmeldung nicht mehr vorhanden sein.</translation>
    </message>
    <message>
        <source>The network did not accept this fluency change.</source>
        <translation>Das Netzwerk hat diese Änderung nicht angenommen.</translation>
    </message>
    <message>
        <source>The fluency change could not be saved for the next time you log in.</source>
        <translation>Die Änderung der Sprachkenntnis konnte für die nächste Anmeldung nicht gespeichert werden.</translation>
    </message>
</context>
</TS>
