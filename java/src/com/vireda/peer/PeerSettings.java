package com.vireda.peer;

import java.io.IOException;
import java.io.Reader;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Properties;
import java.util.function.LongSupplier;

/**
 * What a peer service may be told in the file "peer.properties" of its data
 * folder: limits per client address and per account, the HTTP server's time-outs, the
 * heap of a stand-alone service, its HTTPS key store and the mail server that sends password
 * reminders (none: reminders are not available).
 */
public final class PeerSettings {
    public static final String FILE_NAME = "peer.properties";

    public int registrationsPerAddress = 40;
    public long registrationWindowMillis = 10 * 60 * 1000L;
    /** A class of 30 behind one address signs in within a minute, with room for mistyped passwords. */
    public int signInsPerAddress = 120;
    public long signInWindowMillis = 60 * 1000L;
    public int signInsAtOncePerAddress = 32;

    /**
     * Wrong passwords for one account: free ones from one address and from all
     * addresses together, then a wait that doubles from the first up to the longest.
     */
    public int freeFailuresPerAccountAndAddress = 5;
    public int freeFailuresPerAccount = 20;
    public long firstFailureWaitMillis = 1000;
    public long longestFailureWaitMillis = 5 * 60 * 1000L;
    public long failuresForgottenMillis = 60 * 60 * 1000L;

    /** Password reminders per user name and per address. */
    public int remindersPerName = 3;
    public int remindersPerAddress = 10;
    public long reminderWindowMillis = 60 * 60 * 1000L;

    /** Uploads and suggestions per account and per address. */
    public int uploadsPerAccount = 300;
    public int uploadsPerAddress = 600;
    public long uploadWindowMillis = 60 * 60 * 1000L;
    public int feedbackPerAccount = 10;
    public int feedbackPerAddress = 20;
    public long feedbackWindowMillis = 60 * 60 * 1000L;

    /** Time a connection may stay silent, and the whole time a request may take to arrive. */
    public long idleTimeoutMillis = 10_000;
    public long requestTimeoutMillis = 30_000;
    public int maxThreads = 200;
    /** Open connections one address may keep; one more is closed at once. */
    public int connectionsPerAddress = 64;
    /** Least rate of a request body after its first second; a slower request is dropped. */
    public int minRequestBytesPerSecond = 1024;
    public int maxHeaderBytes = 16 * 1024;
    /** Heap of a stand-alone service; fits 300,000 exercises searched by 200 clients. */
    public int heapMegabytes = 256;

    /** The key store of the HTTPS server (none: plain HTTP), its password and type. */
    public String tlsKeyStore = "";
    public String tlsKeyStorePassword = "";
    public String tlsKeyStoreType = "PKCS12";

    public String smtpHost = "";
    public int smtpPort = 25;
    public String mailFrom = "vireda-peer@localhost";

    public LongSupplier clock = System::currentTimeMillis;

    /** The defaults, with what dataDirectory's properties file names in their place. */
    public static PeerSettings load(Path dataDirectory) throws IOException {
        PeerSettings s = new PeerSettings();
        Path file = dataDirectory.resolve(FILE_NAME);
        if (!Files.isRegularFile(file)) {
            return s;
        }
        Properties p = new Properties();
        try (Reader in = Files.newBufferedReader(file, StandardCharsets.UTF_8)) {
            p.load(in);
        }
        s.registrationsPerAddress = number(p, "registrations.perAddress", s.registrationsPerAddress);
        s.signInsPerAddress = number(p, "signIns.perAddress", s.signInsPerAddress);
        s.signInsAtOncePerAddress = number(p, "signIns.atOncePerAddress", s.signInsAtOncePerAddress);
        s.freeFailuresPerAccountAndAddress = number(p, "signIns.freeFailuresPerAccountAndAddress",
                s.freeFailuresPerAccountAndAddress);
        s.freeFailuresPerAccount = number(p, "signIns.freeFailuresPerAccount", s.freeFailuresPerAccount);
        s.remindersPerName = number(p, "reminders.perName", s.remindersPerName);
        s.remindersPerAddress = number(p, "reminders.perAddress", s.remindersPerAddress);
        s.uploadsPerAccount = number(p, "uploads.perAccount", s.uploadsPerAccount);
        s.uploadsPerAddress = number(p, "uploads.perAddress", s.uploadsPerAddress);
        s.feedbackPerAccount = number(p, "feedback.perAccount", s.feedbackPerAccount);
        s.feedbackPerAddress = number(p, "feedback.perAddress", s.feedbackPerAddress);
        s.idleTimeoutMillis = number(p, "http.idleTimeoutMillis", (int) s.idleTimeoutMillis);
        s.requestTimeoutMillis = number(p, "http.requestTimeoutMillis", (int) s.requestTimeoutMillis);
        s.maxThreads = number(p, "http.maxThreads", s.maxThreads);
        s.connectionsPerAddress = number(p, "http.connectionsPerAddress", s.connectionsPerAddress);
        s.minRequestBytesPerSecond = number(p, "http.minRequestBytesPerSecond", s.minRequestBytesPerSecond);
        String keyStore = p.getProperty("tls.keyStore", "").trim();
        // A relative key store is found in the data folder.
        s.tlsKeyStore = keyStore.isEmpty() ? "" : dataDirectory.resolve(keyStore).toString();
        s.tlsKeyStorePassword = p.getProperty("tls.keyStorePassword", "");
        s.tlsKeyStoreType = p.getProperty("tls.keyStoreType", s.tlsKeyStoreType).trim();
        s.heapMegabytes = number(p, "jvm.heapMegabytes", s.heapMegabytes);
        s.smtpHost = p.getProperty("mail.smtp.host", "").trim();
        s.smtpPort = number(p, "mail.smtp.port", s.smtpPort);
        s.mailFrom = p.getProperty("mail.from", s.mailFrom).trim();
        return s;
    }

    private static int number(Properties p, String key, int fallback) {
        String v = p.getProperty(key);
        try {
            int n = v == null ? fallback : Integer.parseInt(v.trim());
            return n > 0 ? n : fallback;
        } catch (NumberFormatException e) {
            return fallback;
        }
    }

    public boolean servesHttps() {
        return !tlsKeyStore.isEmpty();
    }

    public boolean canSendMail() {
        return !smtpHost.isEmpty();
    }
}
