package com.vireda.client;

import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.net.HttpURLConnection;
import java.net.Proxy;
import java.net.URI;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.util.function.BooleanSupplier;
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
            ByteArrayOutputStream out = new ByteArrayOutputStream();
            in.transferTo(out);
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
        } catch (IOException | RuntimeException e) {
            disconnect(c);
            return null;
        }
    }

    /**
     * Fetches a stored sound file into target, through a temporary file beside
     * it that replaces target only when complete. progress gets 0..100.
     */
    public boolean fetchMedia(String name, Path target, IntConsumer progress, BooleanSupplier cancelled) {
        Path part = target.resolveSibling(target.getFileName() + ".part");
        HttpURLConnection c = null;
        try {
            c = open("/media/" + name, fileTimeoutMillis);
            if (c.getResponseCode() != 200) {
                body(c);
                return false;
            }
            long size = c.getContentLengthLong();
            try (InputStream in = c.getInputStream()) {
                Files.createDirectories(target.getParent());
                long done = 0;
                try (OutputStream out = Files.newOutputStream(part)) {
                    byte[] buffer = new byte[65536];
                    int n;
                    while ((n = in.read(buffer)) > 0) {
                        if (cancelled.getAsBoolean()) {
                            disconnect(c);
                            return false;
                        }
                        out.write(buffer, 0, n);
                        done += n;
                        if (size > 0) {
                            progress.accept((int) Math.min(100, done * 100 / size));
                        }
                    }
                }
                if (size >= 0 && done != size) {
                    return false;
                }
            }
            Files.move(part, target, StandardCopyOption.REPLACE_EXISTING, StandardCopyOption.ATOMIC_MOVE);
            return true;
        } catch (IOException | RuntimeException e) {
            disconnect(c);
            return false;
        } finally {
            try {
                Files.deleteIfExists(part);
            } catch (IOException ignored) {
                // left for the next fetch to replace
            }
        }
    }
}
