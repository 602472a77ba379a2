package com.vireda.peer;

import java.util.Properties;

import jakarta.mail.Message;
import jakarta.mail.MessagingException;
import jakarta.mail.Session;
import jakarta.mail.Transport;
import jakarta.mail.internet.InternetAddress;
import jakarta.mail.internet.MimeMessage;

/** Sends a one-time password by mail through the SMTP server of the peer's settings. */
final class ReminderMail {
    private static final String TIMEOUT_MILLIS = "10000";

    private final PeerSettings settings;

    ReminderMail(PeerSettings settings) {
        this.settings = settings;
    }

    void send(String to, String userName, String oneTimePassword) throws MessagingException {
        Properties p = new Properties();
        p.put("mail.smtp.host", settings.smtpHost);
        p.put("mail.smtp.port", Integer.toString(settings.smtpPort));
        p.put("mail.smtp.connectiontimeout", TIMEOUT_MILLIS);
        p.put("mail.smtp.timeout", TIMEOUT_MILLIS);
        p.put("mail.smtp.writetimeout", TIMEOUT_MILLIS);
        Session session = Session.getInstance(p);
        MimeMessage m = new MimeMessage(session);
        m.setFrom(new InternetAddress(settings.mailFrom, true));
        m.setRecipient(Message.RecipientType.TO, new InternetAddress(to, true));
        m.setSubject("Your Vireda one-time password", "UTF-8");
        m.setText("Someone asked for a new password for the Vireda user " + userName + ".\n\n"
                + "Sign in with this one-time password:\n\n    " + oneTimePassword + "\n\n"
                + "It becomes your password when you first sign in with it, and it expires after a day.\n"
                + "If you did not ask for it, ignore this mail: your password stays as it is.\n", "UTF-8");
        Transport.send(m);
    }
}
