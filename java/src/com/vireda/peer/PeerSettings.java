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
 * folder: limits per client address, the HTTP server's time-outs, the heap of
 * a stand-alone service and the mail server that sends password reminders
 * (none: reminders are not available).
 */
public final class PeerSettings {
    public static final String FILE_NAME = "peer.properties";

    public int registrationsPerAddress = 20;
    public long registrationWindowMillis = 10 * 60 * 1000L;
    public int signInsPerAddress = 60;
    public long signInWindowMillis = 60 * 1000L;
    public int signInsAtOncePerAddress = 4;

    /** Time a connection may stay silent, and the whole time a request may take to arrive. */
    public long idleTimeoutMillis = 10_000;
    public long requestTimeoutMillis = 30_000;
    public int maxThreads = 200;
    public int maxHeaderBytes = 16 * 1024;
    /** Heap of a stand-alone service; fits 300,000 exercises searched by 200 clients. */
    public int heapMegabytes = 256;

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
        s.idleTimeoutMillis = number(p, "http.idleTimeoutMillis", (int) s.idleTimeoutMillis);
        s.requestTimeoutMillis = number(p, "http.requestTimeoutMillis", (int) s.requestTimeoutMillis);
        s.maxThreads = number(p, "http.maxThreads", s.maxThreads);
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

    public boolean canSendMail() {
        return !smtpHost.isEmpty();
    }
}
