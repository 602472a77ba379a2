package com.vireda.client;

import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.net.URI;
import java.net.http.HttpClient;
import java.net.http.HttpRequest;
import java.net.http.HttpResponse;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.security.SecureRandom;
import java.time.Duration;
import java.util.function.BooleanSupplier;
import java.util.function.IntConsumer;

import javax.net.ssl.KeyManager;
import javax.net.ssl.SSLContext;
import javax.net.ssl.SSLContextSpi;
import javax.net.ssl.SSLEngine;
import javax.net.ssl.SSLParameters;
import javax.net.ssl.SSLServerSocketFactory;
import javax.net.ssl.SSLSessionContext;
import javax.net.ssl.SSLSocketFactory;
import javax.net.ssl.TrustManager;

/** HTTP to one peer service; keeps the session the peer gives at sign-in. */
public final class PeerLink {
    public static final String SESSION_HEADER = "X-Vireda-Session";
    public static final String LENGTH_HEADER = "X-Vireda-Message-Length";

    private final HttpClient http;
    private final String base;
    private final Duration timeout;
    /** Sound files may take longer than a message. */
    private final Duration fileTimeout;
    private volatile String session;

    public PeerLink(String baseUrl, int timeoutMillis) {
        base = baseUrl;
        timeout = Duration.ofMillis(timeoutMillis);
        fileTimeout = Duration.ofMillis(Math.max(timeoutMillis, 120_000));
        HttpClient.Builder builder = HttpClient.newBuilder().version(HttpClient.Version.HTTP_1_1)
                .connectTimeout(Duration.ofMillis(Math.min(timeoutMillis, 5000)));
        if (!baseUrl.regionMatches(true, 0, "https:", 0, 6)) {
            builder.sslContext(noTls());
        }
        http = builder.build();
    }

    /**
     * A TLS context for a client that never speaks TLS: the HTTP client wants
     * one, and the default would set up every cipher suite and read the whole
     * trust store at start. Any attempt to use it fails.
     */
    private static SSLContext noTls() {
        SSLContextSpi refusing = new SSLContextSpi() {
            @Override
            protected void engineInit(KeyManager[] km, TrustManager[] tm, SecureRandom sr) {
            }

            @Override
            protected SSLSocketFactory engineGetSocketFactory() {
                throw new UnsupportedOperationException("This client speaks plain HTTP only");
            }

            @Override
            protected SSLServerSocketFactory engineGetServerSocketFactory() {
                throw new UnsupportedOperationException("This client speaks plain HTTP only");
            }

            @Override
            protected SSLEngine engineCreateSSLEngine() {
                throw new UnsupportedOperationException("This client speaks plain HTTP only");
            }

            @Override
            protected SSLEngine engineCreateSSLEngine(String host, int port) {
                throw new UnsupportedOperationException("This client speaks plain HTTP only");
            }

            @Override
            protected SSLSessionContext engineGetServerSessionContext() {
                return null;
            }

            @Override
            protected SSLSessionContext engineGetClientSessionContext() {
                return null;
            }

            @Override
            protected SSLParameters engineGetDefaultSSLParameters() {
                return new SSLParameters();
            }

            @Override
            protected SSLParameters engineGetSupportedSSLParameters() {
                return new SSLParameters();
            }
        };
        return new SSLContext(refusing, null, "none") {
        };
    }

    public boolean ping() {
        try {
            HttpRequest request = HttpRequest.newBuilder(URI.create(base + "/ping")).timeout(timeout).GET().build();
            HttpResponse<String> r = http.send(request, HttpResponse.BodyHandlers.ofString());
            return r.statusCode() == 200 && r.body().trim().equals("ok");
        } catch (IOException | RuntimeException e) {
            return false;
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            return false;
        }
    }

    /** Posts a message; the reply text, or null when no reply came in time. */
    public String postMessage(String xml) {
        return post("/message", HttpRequest.BodyPublishers.ofString(xml, StandardCharsets.UTF_8), null, timeout);
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
        String reply = post("/message", HttpRequest.BodyPublishers.ofString(message, StandardCharsets.UTF_8), null,
                Duration.ofMillis(Math.min(limitMillis, timeout.toMillis())));
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
        return post("/upload", HttpRequest.BodyPublishers.ofByteArray(body), Integer.toString(message.length),
                fileTimeout);
    }

    private String post(String path, HttpRequest.BodyPublisher body, String messageLength, Duration limit) {
        try {
            HttpRequest.Builder b = HttpRequest.newBuilder(URI.create(base + path)).timeout(limit)
                    .header("Content-Type", "application/xml; charset=utf-8").POST(body);
            String s = session;
            if (s != null) {
                b.header(SESSION_HEADER, s);
            }
            if (messageLength != null) {
                b.header(LENGTH_HEADER, messageLength);
            }
            HttpResponse<byte[]> r = http.send(b.build(), HttpResponse.BodyHandlers.ofByteArray());
            r.headers().firstValue(SESSION_HEADER).ifPresent(v -> session = v.isEmpty() ? null : v);
            if (r.body().length == 0) {
                return null;
            }
            return new String(r.body(), StandardCharsets.UTF_8);
        } catch (IOException | RuntimeException e) {
            return null;
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            return null;
        }
    }

    /**
     * Fetches a stored sound file into target, through a temporary file beside
     * it that replaces target only when complete. progress gets 0..100.
     */
    public boolean fetchMedia(String name, Path target, IntConsumer progress, BooleanSupplier cancelled) {
        Path part = target.resolveSibling(target.getFileName() + ".part");
        try {
            HttpRequest request = HttpRequest.newBuilder(URI.create(base + "/media/" + name)).timeout(fileTimeout).GET()
                    .build();
            HttpResponse<InputStream> r = http.send(request, HttpResponse.BodyHandlers.ofInputStream());
            try (InputStream in = r.body()) {
                if (r.statusCode() != 200) {
                    return false;
                }
                long size = r.headers().firstValueAsLong("Content-Length").orElse(-1);
                Files.createDirectories(target.getParent());
                long done = 0;
                try (OutputStream out = Files.newOutputStream(part)) {
                    byte[] buffer = new byte[65536];
                    int n;
                    while ((n = in.read(buffer)) > 0) {
                        if (cancelled.getAsBoolean()) {
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
            return false;
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
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
