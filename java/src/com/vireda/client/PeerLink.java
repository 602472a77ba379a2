package com.vireda.client;

import com.vireda.sound.WavRule;
import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.net.HttpURLConnection;
import java.net.Proxy;
import java.net.URI;
import java.nio.charset.StandardCharsets;
import java.nio.file.FileAlreadyExistsException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardOpenOption;
import java.util.function.IntConsumer;

import javax.net.ssl.HttpsURLConnection;
import javax.net.ssl.SSLSocketFactory;

/**
 * HTTP to one peer service; keeps the session the peer gives at sign-in.
 * Plain blocking connections: no threads of a client of its own; an https: peer
 * with the system's trusted certificates or with one pinned certificate.
 */
public final class PeerLink {
    public static final String SESSION_HEADER = "X-Vireda-Session";
    public static final String LENGTH_HEADER = "X-Vireda-Message-Length";
    /** Largest reply read, in bytes: the program's own limit on a peer's reply. */
    public static final long MAX_REPLY_BYTES = 32L << 20;
    /** Largest sound fetched, in bytes: the peer's own upload limit. */
    public static final long MAX_SOUND_BYTES = 32L << 20;
    /** What a message returns for a reply past MAX_REPLY_BYTES: no XML, so it is never read as a reply. */
    public static final String REPLY_TOO_LARGE = "reply refused: larger than the limit";
    /** Most key-value records (fields) of one exercise: the program's own limit. */
    public static final int MAX_FIELDS_PER_EXERCISE = 1000;
    /** Fresh names tried for a sound whose name is taken. */
    private static final int MAX_FRESH_NAMES = 1000;

    /** How a sound fetch ended. */
    public enum Outcome { STORED, REFUSED, FAILED }

    /** The outcome of a sound fetch and the name the sound was stored under. */
    public static final class Fetched {
        public final Outcome outcome;
        public final String name;

        Fetched(Outcome outcome, String name) {
            this.outcome = outcome;
            this.name = name;
        }
    }

    /** A reply or file past its limit. */
    private static final class TooLarge extends IOException {
        private static final long serialVersionUID = 1L;
    }

    static {
        // A message is not sent twice when a kept connection turns out closed.
        System.setProperty("sun.net.http.retryPost", "false");
    }

    private final String base;
    private final int timeoutMillis;
    private final int connectMillis;
    /** Sound files may take longer than a message. */
    private final int fileTimeoutMillis;
    private volatile String session;
    /** For an https: peer with a certificate of its own; null: the system's trusted certificates. */
    private final SSLSocketFactory tls;

    public PeerLink(String baseUrl, int timeoutMillis) {
        this(baseUrl, timeoutMillis, null);
    }

    public PeerLink(String baseUrl, int timeoutMillis, SSLSocketFactory tls) {
        this.tls = tls;
        base = baseUrl;
        this.timeoutMillis = timeoutMillis;
        connectMillis = Math.min(timeoutMillis, 5000);
        fileTimeoutMillis = Math.max(timeoutMillis, 120_000);
    }

    private HttpURLConnection open(String path, int limitMillis) throws IOException {
        HttpURLConnection c = (HttpURLConnection) URI.create(base + path).toURL().openConnection(Proxy.NO_PROXY);
        if (tls != null && c instanceof HttpsURLConnection) {
            ((HttpsURLConnection) c).setSSLSocketFactory(tls);
        }
        c.setConnectTimeout(Math.min(connectMillis, limitMillis));
        c.setReadTimeout(limitMillis);
        c.setInstanceFollowRedirects(false);
        c.setUseCaches(false);
        return c;
    }

    /** The reply body whatever the status; empty when there is none. */
    private static byte[] body(HttpURLConnection c) throws IOException {
        InputStream in = c.getResponseCode() >= 400 ? c.getErrorStream() : c.getInputStream();
        if (in == null) {
            return new byte[0];
        }
        try (in) {
            if (c.getContentLengthLong() > MAX_REPLY_BYTES) {
                throw new TooLarge();
            }
            ByteArrayOutputStream out = new ByteArrayOutputStream();
            byte[] buffer = new byte[65536];
            long total = 0;
            int n;
            while ((n = in.read(buffer)) > 0) {
                total += n;
                if (total > MAX_REPLY_BYTES) {
                    throw new TooLarge();
                }
                out.write(buffer, 0, n);
            }
            return out.toByteArray();
        }
    }

    public boolean ping() {
        HttpURLConnection c = null;
        try {
            c = open("/ping", timeoutMillis);
            byte[] reply = body(c);
            return c.getResponseCode() == 200 && new String(reply, StandardCharsets.UTF_8).trim().equals("ok");
        } catch (IOException | RuntimeException e) {
            disconnect(c);
            return false;
        }
    }

    private static void disconnect(HttpURLConnection c) {
        if (c != null) {
            c.disconnect();
        }
    }

    /** Posts a message; the reply text, or null when no reply came in time. */
    public String postMessage(String xml) {
        return post("/message", xml.getBytes(StandardCharsets.UTF_8), null, timeoutMillis);
    }

    /** Whether the peer gave this link a session at sign-in that has not ended. */
    public boolean hasSession() {
        return session != null;
    }

    /**
     * Tells the peer the session ended, waiting at most limitMillis, and forgets
     * it here whatever the answer. False when there was none or the peer did not
     * answer.
     */
    public boolean endSession(String message, int limitMillis) {
        if (session == null) {
            return false;
        }
        String reply = post("/message", message.getBytes(StandardCharsets.UTF_8), null,
                Math.min(limitMillis, timeoutMillis));
        session = null;
        return reply != null;
    }

    /** Posts a message followed by a sound file. */
    public String postUpload(String xml, Path sound) throws IOException {
        byte[] message = xml.getBytes(StandardCharsets.UTF_8);
        byte[] file = Files.readAllBytes(sound);
        byte[] body = new byte[message.length + file.length];
        System.arraycopy(message, 0, body, 0, message.length);
        System.arraycopy(file, 0, body, message.length, file.length);
        return post("/upload", body, Integer.toString(message.length), fileTimeoutMillis);
    }

    private String post(String path, byte[] body, String messageLength, int limitMillis) {
        HttpURLConnection c = null;
        try {
            c = open(path, limitMillis);
            c.setRequestMethod("POST");
            c.setDoOutput(true);
            c.setFixedLengthStreamingMode(body.length);
            c.setRequestProperty("Content-Type", "application/xml; charset=utf-8");
            String s = session;
            if (s != null) {
                c.setRequestProperty(SESSION_HEADER, s);
            }
            if (messageLength != null) {
                c.setRequestProperty(LENGTH_HEADER, messageLength);
            }
            try (OutputStream out = c.getOutputStream()) {
                out.write(body);
            }
            byte[] reply = body(c);
            String given = c.getHeaderField(SESSION_HEADER);
            if (given != null) {
                session = given.isEmpty() ? null : given;
            }
            if (reply.length == 0) {
                return null;
            }
            return new String(reply, StandardCharsets.UTF_8);
        } catch (TooLarge e) {
            disconnect(c);
            return REPLY_TOO_LARGE;
        } catch (IOException | RuntimeException e) {
            disconnect(c);
            return null;
        }
    }

    /** The key-value records (fields) of an exercise element. */
    public static int fieldCount(org.w3c.dom.Element exercise) {
        int fields = 0;
        for (org.w3c.dom.Element kvps : com.vireda.xml.Xml.children(exercise, "kvps")) {
            fields += com.vireda.xml.Xml.children(kvps, "kvp").size();
        }
        return fields;
    }

    /** True when bytes[0..length), a whole file, are a sound the player plays (WavRule). */
    public static boolean isWavHeader(byte[] bytes, int length) {
        return WavRule.refusal(bytes, length) == null;
    }

    /**
     * Fetches a stored sound file into directory through a temporary file of
     * its own, and gives it the peer's name, or a fresh one when a file of that
     * name exists: no file is ever replaced. A sound past MAX_SOUND_BYTES or
     * past the length it was sent with, one that is not a WAV file, or one the
     * peer refuses or lacks is REFUSED while it arrives. Cancelling the transfer stops the connection and removes the
     * partial file at once. progress gets 0..100.
     */
    public Fetched fetchMedia(String name, Path directory, IntConsumer progress, Transfer transfer) {
        Path part = null;
        HttpURLConnection c = null;
        try {
            Files.createDirectories(directory);
            // Made and given to the cancel in one step: a cancel never finds it there without removing it.
            synchronized (transfer) {
                if (transfer.cancelled()) {
                    return new Fetched(Outcome.FAILED, null);
                }
                part = Files.createTempFile(directory, ".download-", ".part");
                final Path made = part;
                transfer.whenCancelled(() -> deleteQuietly(made));
            }
            c = open("/media/" + name, fileTimeoutMillis);
            final HttpURLConnection connection = c;
            final Path partial = part;
            if (!transfer.whenCancelled(() -> {
                connection.disconnect();
                deleteQuietly(partial);
            })) {
                return new Fetched(Outcome.FAILED, null);
            }
            int code = c.getResponseCode();
            if (code != 200) {
                disconnect(c);
                return new Fetched(code >= 400 && code < 500 ? Outcome.REFUSED : Outcome.FAILED, null);
            }
            long size = c.getContentLengthLong();
            if (size > MAX_SOUND_BYTES) {
                disconnect(c);
                return new Fetched(Outcome.REFUSED, null);
            }
            byte[] head = new byte[12];
            int headLength = 0;
            long done = 0;
            // Opened without creating it: a cancel that removed it meanwhile is not undone.
            try (InputStream in = c.getInputStream();
                    OutputStream out = Files.newOutputStream(part, StandardOpenOption.WRITE,
                            StandardOpenOption.TRUNCATE_EXISTING)) {
                byte[] buffer = new byte[65536];
                int n;
                while ((n = in.read(buffer)) > 0) {
                    if (transfer.cancelled()) {
                        return new Fetched(Outcome.FAILED, null);
                    }
                    done += n;
                    // Longer than it said it is: a fault of this sound, not of the network.
                    if (done > MAX_SOUND_BYTES || (size >= 0 && done > size)) {
                        disconnect(c);
                        return new Fetched(Outcome.REFUSED, null);
                    }
                    if (headLength < head.length) {
                        int k = Math.min(head.length - headLength, n);
                        System.arraycopy(buffer, 0, head, headLength, k);
                        headLength += k;
                        if (headLength == head.length && !WavRule.isRiffWave(head, headLength)) {
                            disconnect(c);
                            return new Fetched(Outcome.REFUSED, null);
                        }
                    }
                    out.write(buffer, 0, n);
                    if (size > 0) {
                        progress.accept((int) Math.min(100, done * 100 / size));
                    }
                }
            }
            if (size >= 0 && done != size) {
                return new Fetched(Outcome.FAILED, null);
            }
            if (WavRule.refusal(part) != null) {
                return new Fetched(Outcome.REFUSED, null);
            }
            String stored = placeFresh(part, directory, name);
            if (stored == null) {
                return new Fetched(Outcome.FAILED, null);
            }
            if (!transfer.whenCancelled(null)) {
                // Given up while it was put in place: nothing of it stays.
                deleteQuietly(directory.resolve(stored));
                return new Fetched(Outcome.FAILED, null);
            }
            return new Fetched(Outcome.STORED, stored);
        } catch (IOException | RuntimeException e) {
            disconnect(c);
            return new Fetched(Outcome.FAILED, null);
        } finally {
            transfer.whenCancelled(null);
            deleteQuietly(part);
        }
    }

    /** Links part into directory under name or the first free "stem-N.ext"; the name used, or null. */
    static String placeFresh(Path part, Path directory, String name) throws IOException {
        int dot = name.lastIndexOf('.');
        String stem = dot > 0 ? name.substring(0, dot) : name;
        String extension = dot > 0 ? name.substring(dot) : "";
        for (int i = 0; i < MAX_FRESH_NAMES; i++) {
            String candidate = i == 0 ? name : stem + "-" + i + extension;
            Path target = directory.resolve(candidate);
            try {
                try {
                    Files.createLink(target, part);
                } catch (UnsupportedOperationException e) {
                    Files.move(part, target);
                }
                return candidate;
            } catch (FileAlreadyExistsException e) {
                // taken: try the next name
            }
        }
        return null;
    }

    private static void deleteQuietly(Path file) {
        if (file == null) {
            return;
        }
        try {
            Files.deleteIfExists(file);
        } catch (IOException ignored) {
            // a temporary name of its own; nothing reads it
        }
    }
}
