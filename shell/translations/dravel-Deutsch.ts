<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>LanguageChooser</name>
    <message>
        <source>Choose Language</source>
        <translation>Sprache wählen</translation>
    </message>
    <message>
        <source>Language of the application:</source>
        <translation>Sprache der Anwendung:</translation>
    </message>
</context>
<context>
    <name>LoginForm</name>
    <message>
        <source>Welcome</source>
        <translation>Willkommen</translation>
    </message>
    <message>
        <source>Network error</source>
        <translation>Netzwerkfehler</translation>
    </message>
    <message>
        <source>The Vireda peer&apos;s certificate does not match the one named in the file &quot;%1&quot; (the setting &quot;peer.certificate&quot;).
The connection was refused to keep your data safe.

Please tell the person who runs the peer; until then you can work offline.</source>
        <translation>Das Zertifikat des Vireda-Peers stimmt nicht mit dem überein, das in der Datei &quot;%1&quot; (Einstellung &quot;peer.certificate&quot;) genannt ist.
Die Verbindung wurde abgelehnt, um Ihre Daten zu schützen.

Bitte geben Sie der Person Bescheid, die den Peer betreibt; bis dahin können Sie offline arbeiten.</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>Password:</source>
        <translation>Passwort:</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Remember my name and password on this computer</source>
        <translation>Name und Passwort auf diesem Computer merken</translation>
    </message>
    <message>
        <source>Login Offline</source>
        <translation>Offline anmelden</translation>
    </message>
    <message>
        <source>Forgot Password?</source>
        <translation>Passwort vergessen?</translation>
    </message>
    <message>
        <source>Register</source>
        <translation>Registrieren</translation>
    </message>
    <message>
        <source>as a new user.</source>
        <translation>als neuer Benutzer.</translation>
    </message>
    <message>
        <source>Welcome to Vireda!

If this is your first time using Vireda, please register as a new user.</source>
        <translation>Willkommen bei Vireda!

Wenn Sie Vireda zum ersten Mal verwenden, registrieren Sie sich bitte als neuer Benutzer.</translation>
    </message>
    <message>
        <source>Register as a new user</source>
        <translation>Als neuer Benutzer registrieren</translation>
    </message>
    <message>
        <source>Login with existing Vireda username</source>
        <translation>Mit vorhandenem Vireda-Benutzernamen anmelden</translation>
    </message>
    <message>
        <source>A working Internet connection cannot be found.
You must be connected to the Internet before you can start to use Vireda.

Please connect to the Internet, then sign in again to become part of the Vireda community.</source>
        <translation>Es wurde keine funktionierende Internetverbindung gefunden.
Sie müssen mit dem Internet verbunden sein, bevor Sie Vireda verwenden können.

Bitte verbinden Sie sich mit dem Internet und melden Sie sich dann erneut an, um Teil der Vireda-Gemeinschaft zu werden.</translation>
    </message>
    <message>
        <source>Network error. If you wish to upload and download content,
please make sure you have a valid Internet connection, then sign in again.</source>
        <translation>Netzwerkfehler. Wenn Sie Inhalte hoch- und herunterladen möchten,
stellen Sie bitte sicher, dass Sie eine funktionierende Internetverbindung haben, und melden Sie sich dann erneut an.</translation>
    </message>
    <message>
        <source>Username field blank. Please enter the username
for the email address to which the password will be sent.</source>
        <translation>Das Feld Benutzername ist leer. Bitte geben Sie den Benutzernamen
zu der E-Mail-Adresse ein, an die das Passwort gesendet werden soll.</translation>
    </message>
    <message>
        <source>If the username %1 is registered with an email address,
Vireda has sent a one-time password to that address.
It becomes your password when you first sign in with it.

Please look in the bulk/junk mail folder if your email
account has filters in place.</source>
        <translation>Falls der Benutzername %1 mit einer E-Mail-Adresse registriert ist,
hat Vireda ein Einmalpasswort an diese Adresse gesendet.
Es wird zu Ihrem Passwort, sobald Sie sich zum ersten Mal damit anmelden.

Bitte sehen Sie im Spam-Ordner nach, falls Ihr E-Mail-Konto
Filter verwendet.</translation>
    </message>
    <message>
        <source>Password reminders are not available on this network.
No email was sent.</source>
        <translation>Passworterinnerungen sind in diesem Netzwerk nicht verfügbar.
Es wurde keine E-Mail gesendet.</translation>
    </message>
    <message>
        <source>Vireda could not send the email.  Please try again later.</source>
        <translation>Vireda konnte die E-Mail nicht senden.  Bitte versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>Too many password reminders were asked for.
Please try again later.</source>
        <translation>Es wurden zu viele Passworterinnerungen angefordert.
Bitte versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>The Vireda network is unavailable right now.  Please try again later.</source>
        <translation>Das Vireda-Netzwerk ist im Moment nicht erreichbar.  Bitte versuchen Sie es später erneut.</translation>
    </message>
    <message>
        <source>Sorry, network plugin wasn't loaded.</source>
        <translation>Das Netzwerk-Plugin wurde leider nicht geladen.</translation>
    </message>
    <message>
        <source>Signing in...</source>
        <translation>Anmeldung läuft...</translation>
    </message>
    <message>
        <source>A new version of Vireda is available at %1.</source>
        <translation>Eine neue Version von Vireda ist unter %1 erhältlich.</translation>
    </message>
    <message>
        <source>Sorry, we could not log you in because the username or password entered is incorrect.

If you are a new user, please register first to login to Vireda.</source>
        <translation>Die Anmeldung ist leider fehlgeschlagen, weil der Benutzername oder das Passwort falsch ist.

Wenn Sie ein neuer Benutzer sind, registrieren Sie sich bitte zuerst, um sich bei Vireda anzumelden.</translation>
    </message>
    <message>
        <source>Sorry, we could not sign you in because the network did not initialize correctly.
Connect as Offline, or cancel and sign in again once you are connected.</source>
        <translation>Die Anmeldung ist leider fehlgeschlagen, weil das Netzwerk nicht richtig gestartet wurde.
Melden Sie sich offline an, oder brechen Sie ab und melden Sie sich erneut an, sobald Sie verbunden sind.</translation>
    </message>
    <message>
        <source>Cancel Login</source>
        <translation>Anmeldung abbrechen</translation>
    </message>
    <message>
        <source>Connect as Offline</source>
        <translation>Offline verbinden</translation>
    </message>
    <message>
        <source>Sorry, this version of Vireda is too old and will need to be updated.
Please visit %1.</source>
        <translation>Diese Version von Vireda ist leider zu alt und muss aktualisiert werden.
Bitte besuchen Sie %1.</translation>
    </message>
    <message>
        <source>Sorry, we could not sign you in because of unknown error.</source>
        <translation>Die Anmeldung ist leider wegen eines unbekannten Fehlers fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Sorry, too many sign-ins came from this computer.
Please wait a minute and try again.</source>
        <translation>Von diesem Computer kamen leider zu viele Anmeldungen.
Bitte warten Sie eine Minute und versuchen Sie es erneut.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>Initializing Application...</source>
        <translation>Anwendung wird gestartet...</translation>
    </message>
    <message>
        <source>Username:</source>
        <translation>Benutzername:</translation>
    </message>
    <message>
        <source>Sign In</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <source>Sign in with username and password.</source>
        <translation>Mit Benutzername und Passwort anmelden.</translation>
    </message>
    <message>
        <source>Suggestions</source>
        <translation>Vorschläge</translation>
    </message>
    <message>
        <source>Make suggestions to improve this software.</source>
        <translation>Vorschläge zur Verbesserung dieser Software machen.</translation>
    </message>
    <message>
        <source>Upload (%1)</source>
        <translation>Hochladen (%1)</translation>
    </message>
    <message>
        <source>Click to upload to the server.</source>
        <translation>Klicken, um auf den Server hochzuladen.</translation>
    </message>
    <message>
        <source>Adjusts recording/microphone volume</source>
        <translation>Stellt die Aufnahme-/Mikrofonlautstärke ein</translation>
    </message>
    <message>
        <source>Adjusts playback volume</source>
        <translation>Stellt die Wiedergabelautstärke ein</translation>
    </message>
    <message>
        <source>Adjusts font size for application</source>
        <translation>Stellt die Schriftgröße der Anwendung ein</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Network</source>
        <translation>&amp;Netzwerk</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Exit application</source>
        <translation>Anwendung beenden</translation>
    </message>
    <message>
        <source>Sign &amp;In...</source>
        <translation>&amp;Anmelden...</translation>
    </message>
    <message>
        <source>Sign in application</source>
        <translation>In der Anwendung anmelden</translation>
    </message>
    <message>
        <source>Sign &amp;Out</source>
        <translation>Ab&amp;melden</translation>
    </message>
    <message>
        <source>Sign out of application</source>
        <translation>Von der Anwendung abmelden</translation>
    </message>
    <message>
        <source>Choose Language...</source>
        <translation>Sprache wählen...</translation>
    </message>
    <message>
        <source>Choose the language of the application</source>
        <translation>Die Sprache der Anwendung wählen</translation>
    </message>
    <message>
        <source>&amp;About </source>
        <translation>Ü&amp;ber </translation>
    </message>
    <message>
        <source>Learn more about this application.</source>
        <translation>Mehr über diese Anwendung erfahren.</translation>
    </message>
    <message>
        <source>About &amp;Plugins</source>
        <translation>Über &amp;Plugins</translation>
    </message>
    <message>
        <source>Ctrl+P</source>
        <translation>Ctrl+P</translation>
    </message>
    <message>
        <source>Shows which plugins are being used.</source>
        <translation>Zeigt, welche Plugins verwendet werden.</translation>
    </message>
    <message>
        <source>F1</source>
        <translation>F1</translation>
    </message>
    <message>
        <source>Initializing Network...</source>
        <translation>Netzwerk wird gestartet...</translation>
    </message>
    <message>
        <source>Migrating local database.  This could take a few minutes...</source>
        <translation>Die lokale Datenbank wird umgestellt.  Das kann einige Minuten dauern...</translation>
    </message>
    <message>
        <source>(Offline)</source>
        <translation>(offline)</translation>
    </message>
    <message>
        <source>(Online)</source>
        <translation>(online)</translation>
    </message>
    <message>
        <source>The Vireda network is not accessible. To re-enable online features please
make sure you have a valid Internet connection, then sign out and sign in again.</source>
        <translation>Das Vireda-Netzwerk ist nicht erreichbar. Um die Online-Funktionen wieder zu nutzen,
stellen Sie bitte eine funktionierende Internetverbindung her und melden Sie sich dann ab und wieder an.</translation>
    </message>
    <message>
        <source>Upload recently created content?
</source>
        <translation>Kürzlich erstellte Inhalte hochladen?
</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Review</source>
        <translation>Durchsehen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>PluginDialog</name>
    <message>
        <source>Components</source>
        <translation>Komponenten</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Plugin Information</source>
        <translation>Plugin-Informationen</translation>
    </message>
    <message>
        <source>Vireda couldn't load any plugins in the Plugins_dll/ directory.</source>
        <translation>Vireda konnte keine Plugins im Verzeichnis Plugins_dll/ laden.</translation>
    </message>
    <message>
        <source>Vireda loaded the following plugins in the Plugins_dll/ directory:</source>
        <translation>Vireda hat die folgenden Plugins im Verzeichnis Plugins_dll/ geladen:</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Before using Vireda, you will need to install the Java Runtime Environment.  Please visit</source>
        <translation>Bevor Sie Vireda verwenden können, müssen Sie die Java-Laufzeitumgebung installieren.  Bitte besuchen Sie</translation>
    </message>
    <message>
        <source> to download and install the Java Runtime Environment.</source>
        <translation>, um die Java-Laufzeitumgebung herunterzuladen und zu installieren.</translation>
    </message>
    <message>
        <source>Vireda is already running on this computer.</source>
        <translation>Vireda läuft bereits auf diesem Computer.</translation>
    </message>
    <message>
        <source>Vireda cannot start because it cannot write to its folder
%1

Please make sure that you may write to this folder and that the disk is not full, then start Vireda again.</source>
        <translation>Vireda kann nicht starten, weil es nicht in seinen Ordner
%1
schreiben kann.

Bitte stellen Sie sicher, dass Sie in diesen Ordner schreiben dürfen und dass die Festplatte nicht voll ist, und starten Sie Vireda dann erneut.</translation>
    </message>
</context>
<context>
    <name>RegistrationForm</name>
    <message>
        <source>Registration </source>
        <translation>Registrierung </translation>
    </message>
    <message>
        <source>&lt;span style="font-size:8pt"&gt;We do not share your information with anyone.&lt;/span&gt;</source>
        <translation>&lt;span style="font-size:8pt"&gt;Wir geben Ihre Angaben an niemanden weiter.&lt;/span&gt;</translation>
    </message>
    <message>
        <source>User setup</source>
        <translation>Benutzerkonto</translation>
    </message>
    <message>
        <source>Username:*</source>
        <translation>Benutzername:*</translation>
    </message>
    <message>
        <source>Usernames are not case sensitive: &quot;Anna&quot; and &quot;anna&quot; are the same user</source>
        <translation>Bei Benutzernamen zählt Groß- und Kleinschreibung nicht: „Anna“ und „anna“ sind derselbe Benutzer</translation>
    </message>
    <message>
        <source>Password:*</source>
        <translation>Passwort:*</translation>
    </message>
    <message>
        <source>Password is case sensitive</source>
        <translation>Beim Passwort wird zwischen Groß- und Kleinschreibung unterschieden</translation>
    </message>
    <message>
        <source>Retype Password:*</source>
        <translation>Passwort wiederholen:*</translation>
    </message>
    <message>
        <source>Retype your password for security purposes</source>
        <translation>Geben Sie Ihr Passwort zur Sicherheit noch einmal ein</translation>
    </message>
    <message>
        <source>User Information</source>
        <translation>Angaben zur Person</translation>
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
        <source>email:*</source>
        <translation>E-Mail:*</translation>
    </message>
    <message>
        <source>Email address</source>
        <translation>E-Mail-Adresse</translation>
    </message>
    <message>
        <source>Country:*</source>
        <translation>Land:*</translation>
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
        <source>* Required fields</source>
        <translation>* Pflichtfelder</translation>
    </message>
    <message>
        <source>Language Fluencies</source>
        <translation>Sprachkenntnisse</translation>
    </message>
    <message>
        <source>Identify each language you will study or for which you will create content.  You may change this information later.</source>
        <translation>Geben Sie jede Sprache an, die Sie lernen oder für die Sie Inhalte erstellen werden.  Sie können diese Angaben später ändern.</translation>
    </message>
    <message>
        <source>Add a spoken or learning language</source>
        <translation>Eine gesprochene oder gelernte Sprache hinzufügen</translation>
    </message>
    <message>
        <source>Add</source>
        <translation>Hinzufügen</translation>
    </message>
    <message>
        <source>Remove selected language fluency</source>
        <translation>Ausgewählte Sprachkenntnis entfernen</translation>
    </message>
    <message>
        <source>Remove</source>
        <translation>Entfernen</translation>
    </message>
    <message>
        <source>Spoken/Learning languages</source>
        <translation>Gesprochene/gelernte Sprachen</translation>
    </message>
    <message>
        <source>Register User</source>
        <translation>Benutzer registrieren</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel registration</source>
        <translation>Registrierung abbrechen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Select</source>
        <translation>Auswählen</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Accent</source>
        <translation>Akzent</translation>
    </message>
    <message>
        <source>Fluency</source>
        <translation>Kenntnisstand</translation>
    </message>
    <message>
        <source>State\Province</source>
        <translation>Bundesland/Provinz</translation>
    </message>
    <message>
        <source>Locality</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Studying</source>
        <translation>Lerne ich</translation>
    </message>
    <message>
        <source>'%1' is already in your list of fluencies.</source>
        <translation>'%1' ist bereits in Ihrer Liste der Sprachkenntnisse.</translation>
    </message>
    <message>
        <source>Are you sure you want to remove %1
as one of your fluencies?</source>
        <translation>Möchten Sie %1 wirklich aus Ihren
Sprachkenntnissen entfernen?</translation>
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
        <source>Please select a username with a minimum of 6 characters and a maximum of 16 characters.</source>
        <translation>Bitte wählen Sie einen Benutzernamen mit mindestens 6 und höchstens 16 Zeichen.</translation>
    </message>
    <message>
        <source>Invalid username.  Please use only letters, numbers, "_" and ".".</source>
        <translation>Ungültiger Benutzername.  Bitte verwenden Sie nur Buchstaben, Ziffern, "_" und ".".</translation>
    </message>
    <message>
        <source>Please select a password with a minimum of 6 characters and a maximum of 16 characters.</source>
        <translation>Bitte wählen Sie ein Passwort mit mindestens 6 und höchstens 16 Zeichen.</translation>
    </message>
    <message>
        <source>Invalid password.  Please use only letters, numbers, '_' and '.'.</source>
        <translation>Ungültiges Passwort.  Bitte verwenden Sie nur Buchstaben, Ziffern, '_' und '.'.</translation>
    </message>
    <message>
        <source>Your passwords do not match.  Please retype your passwords.</source>
        <translation>Die Passwörter stimmen nicht überein.  Bitte geben Sie die Passwörter erneut ein.</translation>
    </message>
    <message>
        <source>Invalid email address.  Please enter a valid email address.</source>
        <translation>Ungültige E-Mail-Adresse.  Bitte geben Sie eine gültige E-Mail-Adresse ein.</translation>
    </message>
    <message>
        <source>Please enter a first name of no more than %1 characters.</source>
        <translation>Bitte geben Sie einen Vornamen mit höchstens %1 Zeichen ein.</translation>
    </message>
    <message>
        <source>Please enter a last name of no more than %1 characters.</source>
        <translation>Bitte geben Sie einen Nachnamen mit höchstens %1 Zeichen ein.</translation>
    </message>
    <message>
        <source>Please select a country.</source>
        <translation>Bitte wählen Sie ein Land.</translation>
    </message>
    <message>
        <source>You must enter at least one fluency.</source>
        <translation>Sie müssen mindestens eine Sprachkenntnis angeben.</translation>
    </message>
    <message>
        <source>Sorry, network error.</source>
        <translation>Leider ist ein Netzwerkfehler aufgetreten.</translation>
    </message>
    <message>
        <source>Username already taken. Please enter a different username.</source>
        <translation>Der Benutzername ist bereits vergeben. Bitte geben Sie einen anderen Benutzernamen ein.</translation>
    </message>
    <message>
        <source>Sorry, the Vireda network is presently unavailable.  Registration failed.</source>
        <translation>Das Vireda-Netzwerk ist derzeit leider nicht erreichbar.  Die Registrierung ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>Sorry, too many registrations came from this computer.
Please try again later.</source>
        <translation>Von diesem Computer kamen leider zu viele Registrierungen.
Bitte versuchen Sie es später erneut.</translation>
    </message>
</context>
<context>
    <name>SuggestionForm</name>
    <message>
        <source>Send us your comments.</source>
        <translation>Schicken Sie uns Ihre Anmerkungen.</translation>
    </message>
    <message>
        <source>Type of message:</source>
        <translation>Art der Nachricht:</translation>
    </message>
    <message>
        <source>Do you want to make a suggestion or report a bug?</source>
        <translation>Möchten Sie einen Vorschlag machen oder einen Fehler melden?</translation>
    </message>
    <message>
        <source>Type your message in here</source>
        <translation>Schreiben Sie Ihre Nachricht hier</translation>
    </message>
    <message>
        <source>Suggestions are collected anonymously.</source>
        <translation>Vorschläge werden anonym gesammelt.</translation>
    </message>
    <message>
        <source>Send suggestion</source>
        <translation>Vorschlag senden</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>0 Characters</source>
        <translation>0 Zeichen</translation>
    </message>
    <message>
        <source>Suggestion</source>
        <translation>Vorschlag</translation>
    </message>
    <message>
        <source>Bug</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source> characters typed.</source>
        <translation> Zeichen eingegeben.</translation>
    </message>
    <message>
        <source>Your message is blank or exceeds the maximum length of 8000 characters.</source>
        <translation>Ihre Nachricht ist leer oder länger als die erlaubten 8000 Zeichen.</translation>
    </message>
    <message>
        <source>Unable to find working internet connection.  Sending of message failed.</source>
        <translation>Es wurde keine funktionierende Internetverbindung gefunden.  Die Nachricht wurde nicht gesendet.</translation>
    </message>
    <message>
        <source>Message could not be sent.</source>
        <translation>Die Nachricht konnte nicht gesendet werden.</translation>
    </message>
</context>
<context>
    <name>UploadForm</name>
    <message>
        <source>Upload to server</source>
        <translation>Auf den Server hochladen</translation>
    </message>
    <message>
        <source>Select the content you want to upload to the server. </source>
        <translation>Wählen Sie die Inhalte aus, die Sie auf den Server hochladen möchten. </translation>
    </message>
    <message>
        <source>Select All/Deselect All</source>
        <translation>Alle auswählen/abwählen</translation>
    </message>
    <message>
        <source>Never Upload Selected</source>
        <translation>Auswahl nie hochladen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Upload</source>
        <translation>Hochladen</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Title</source>
        <translation>Titel</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>You haven't selected anything to remove.</source>
        <translation>Sie haben nichts zum Entfernen ausgewählt.</translation>
    </message>
    <message>
        <source>Are you sure you want to never upload the selected content?</source>
        <translation>Möchten Sie die ausgewählten Inhalte wirklich nie hochladen?</translation>
    </message>
    <message>
        <source>Yes, I'm sure</source>
        <translation>Ja, ganz sicher</translation>
    </message>
    <message>
        <source>No, cancel</source>
        <translation>Nein, abbrechen</translation>
    </message>
    <message>
        <source>Please select something to upload.</source>
        <translation>Bitte wählen Sie etwas zum Hochladen aus.</translation>
    </message>
    <message>
        <source>Uploading...</source>
        <translation>Wird hochgeladen...</translation>
    </message>
    <message>
        <source>Abort</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Vireda was not able to complete the upload due to a network error.</source>
        <translation>Vireda konnte das Hochladen wegen eines Netzwerkfehlers nicht abschließen.</translation>
    </message>
    <message>
        <source>Vireda encountered %1 errors while uploading your content to the server.
Content not successfully uploaded remains on your upload list.</source>
        <translation>Beim Hochladen Ihrer Inhalte auf den Server sind %1 Fehler aufgetreten.
Inhalte, die nicht hochgeladen wurden, bleiben auf Ihrer Liste zum Hochladen.</translation>
    </message>
    <message>
        <source>Upload cancelled.  Content not yet uploaded remains on your upload list.</source>
        <translation>Hochladen abgebrochen.  Noch nicht hochgeladene Inhalte bleiben auf Ihrer Liste zum Hochladen.</translation>
    </message>
    <message>
        <source>Upload complete.  Lessons cancelled and not yet uploaded remain on your upload list.</source>
        <translation>Hochladen abgeschlossen.  Abgebrochene und noch nicht hochgeladene Lektionen bleiben auf Ihrer Liste zum Hochladen.</translation>
    </message>
    <message>
        <source>Upload complete.</source>
        <translation>Hochladen abgeschlossen.</translation>
    </message>
    <message>
        <source>Uploading Lesson '%1'...</source>
        <translation>Lektion '%1' wird hochgeladen...</translation>
    </message>
</context>
<context>
    <name>WelcomeForm</name>
    <message>
        <source>Welcome to Vireda - A Language Community</source>
        <translation>Willkommen bei Vireda - eine Sprachgemeinschaft</translation>
    </message>
    <message>
        <source>Don't Show This Box</source>
        <translation>Nicht mehr anzeigen</translation>
    </message>
    <message>
        <source>Close welcome screen</source>
        <translation>Willkommensfenster schließen</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>ZoDbFileManager</name>
    <message>
        <source>Migrating local database.  This could take a few minutes...</source>
        <translation>Die lokale Datenbank wird umgestellt.  Das kann einige Minuten dauern...</translation>
    </message>
    <message>
        <source>Vireda encountered a problem while updating the local database.  Please uninstall, then reinstall Vireda.</source>
        <translation>Vireda ist beim Aktualisieren der lokalen Datenbank auf ein Problem gestoßen.  Bitte deinstallieren Sie Vireda und installieren Sie es dann erneut.</translation>
    </message>
    <message>
        <source>The local database "%1" is damaged: Vireda cannot read the exercises, lessons and users in it.

You can keep the file as it is and quit, for example to restore it from a copy of your own, or set it aside as "%2" and start with a new, empty database. Nothing is deleted either way.</source>
        <translation>Die lokale Datenbank "%1" ist beschädigt: Vireda kann die Übungen, Lektionen und Benutzer darin nicht lesen.

Sie können die Datei unverändert behalten und Vireda beenden, etwa um sie aus einer eigenen Sicherung wiederherzustellen, oder sie als "%2" beiseitelegen und mit einer neuen, leeren Datenbank beginnen. In beiden Fällen wird nichts gelöscht.</translation>
    </message>
    <message>
        <source>Keep It and Quit</source>
        <translation>Behalten und beenden</translation>
    </message>
    <message>
        <source>Set Aside and Start Anew</source>
        <translation>Beiseitelegen und neu beginnen</translation>
    </message>
    <message>
        <source>Vireda could not update the local database "%1" because it could not make a safe copy of it first. Nothing was changed.

Please make sure the disk has free space for at least two copies of the database and that Vireda's folder can be written to, then start Vireda again.</source>
        <translation>Vireda konnte die lokale Datenbank "%1" nicht aktualisieren, weil zuvor keine sichere Kopie angelegt werden konnte. Es wurde nichts geändert.

Bitte sorgen Sie für freien Speicherplatz für mindestens zwei Kopien der Datenbank und dafür, dass in den Ordner von Vireda geschrieben werden kann, und starten Sie Vireda dann erneut.</translation>
    </message>
    <message>
        <source>Vireda could not update the local database "%1" because another program is using it. Nothing was changed.

Please close the other program, then start Vireda again.</source>
        <translation>Vireda konnte die lokale Datenbank "%1" nicht aktualisieren, weil ein anderes Programm sie verwendet. Es wurde nichts geändert.

Bitte schließen Sie das andere Programm und starten Sie Vireda dann erneut.</translation>
    </message>
    <message>
        <source>Vireda could not set the damaged database "%1" aside or could not make a new one. The damaged file is kept.

Please make sure the disk has free space and that Vireda's folder can be written to, then start Vireda again.</source>
        <translation>Vireda konnte die beschädigte Datenbank "%1" nicht beiseitelegen oder keine neue anlegen. Die beschädigte Datei bleibt erhalten.

Bitte sorgen Sie für freien Speicherplatz und dafür, dass in den Ordner von Vireda geschrieben werden kann, und starten Sie Vireda dann erneut.</translation>
    </message>
    <message>
        <source>Vireda cannot read the local database &quot;%1&quot;: your account may not read this file, for example because it belongs to another account. Nothing was changed.

Please make sure that the file belongs to you or that you may read and write it, then start Vireda again.</source>
        <translation>Vireda kann die lokale Datenbank &quot;%1&quot; nicht lesen: Ihr Benutzerkonto darf diese Datei nicht lesen, zum Beispiel weil sie einem anderen Benutzerkonto gehört. Es wurde nichts geändert.

Bitte stellen Sie sicher, dass die Datei Ihnen gehört oder dass Sie sie lesen und schreiben dürfen, und starten Sie Vireda dann erneut.</translation>
    </message>
    <message>
        <source>Vireda cannot write to the local database &quot;%1&quot;: the file or its folder is read-only, so nothing could be saved. Nothing was changed.

Please make sure that you may write to the file and its folder, then start Vireda again.</source>
        <translation>Vireda kann nicht in die lokale Datenbank &quot;%1&quot; schreiben: Die Datei oder ihr Ordner ist schreibgeschützt, daher könnte nichts gespeichert werden. Es wurde nichts geändert.

Bitte stellen Sie sicher, dass Sie in die Datei und ihren Ordner schreiben dürfen, und starten Sie Vireda dann erneut.</translation>
    </message>
</context>
<context>
    <name>StoreWriteError</name>
    <message>
        <source>The disk is full.</source>
        <translation>Der Datenträger ist voll.</translation>
    </message>
    <message>
        <source>Please free some space on it, then save again.</source>
        <translation>Bitte schaffen Sie dort Platz und speichern Sie dann erneut.</translation>
    </message>
    <message>
        <source>The local database cannot be written: the file or its folder is read-only.</source>
        <translation>In die lokale Datenbank kann nicht geschrieben werden: Die Datei oder ihr Ordner ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>Please make sure that you may write to them, then start Vireda again.</source>
        <translation>Bitte stellen Sie sicher, dass Sie in beide schreiben dürfen, und starten Sie Vireda dann erneut.</translation>
    </message>
</context>
<context>
    <name>SplashTexts</name>
    <message>
        <source>A Language Community</source>
        <translation>Eine Sprachgemeinschaft</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Record, share and study the languages you speak.</source>
        <translation>Die Sprachen, die Sie sprechen, aufnehmen, teilen und lernen.</translation>
    </message>
    <message>
        <source>Icons: GNOME Project (Adwaita icon theme), CC-BY-SA 3.0 / LGPL 3.</source>
        <translation>Symbole: GNOME-Projekt (Adwaita-Symbolthema), CC-BY-SA 3.0 / LGPL 3.</translation>
    </message>
    <message>
        <source>Click to close.</source>
        <translation>Zum Schließen klicken.</translation>
    </message>
</context>
</TS>
