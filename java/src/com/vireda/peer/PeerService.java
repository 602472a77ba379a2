package com.vireda.peer;

import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.net.InetAddress;
import java.net.InetSocketAddress;
import java.nio.charset.StandardCharsets;
import java.nio.file.DirectoryStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.sql.SQLException;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.atomic.AtomicInteger;

import com.sun.net.httpserver.HttpExchange;
import com.sun.net.httpserver.HttpServer;

/**
 * The peer service over HTTP. POST /message takes one message and answers it;
 * POST /upload takes a message of X-Vireda-Message-Length bytes followed by a
 * sound file; GET /media/NAME gives a stored sound file; GET /ping answers "ok".
 * The session given at sign-in travels in the X-Vireda-Session header.
 */
public final class PeerService {
    public static final String SESSION_HEADER = "X-Vireda-Session";
    public static final String LENGTH_HEADER = "X-Vireda-Message-Length";
    public static final int MAX_MESSAGE_BYTES = 1 << 20;
    public static final long MAX_SOUND_BYTES = 32L << 20;
    /** Refused bodies up to this size are read to their end so the client sees the reply. */
    private static final long MAX_DRAIN_BYTES = 64L << 20;

    static {
        // Small replies must not wait for delayed acknowledgements.
        if (System.getProperty("sun.net.httpserver.nodelay") == null) {
            System.setProperty("sun.net.httpserver.nodelay", "true");
        }
    }

    private final HttpServer server;
    private final ExecutorService executor;
    private final PeerStore store;
    private final ContentService content;
    private final MessageHandler handler;

    private PeerService(InetAddress bind, int port, Path dataDirectory) throws IOException, SQLException {
        store = new PeerStore(dataDirectory);
        try {
            Path media = dataDirectory.resolve("media");
            content = new ContentService(store, media);
            sweepPartialFiles(media);
            Sessions sessions = new Sessions();
            handler = new MessageHandler(new AccountService(store, sessions), content, sessions);
            server = HttpServer.create(new InetSocketAddress(bind, port), 64);
        } catch (IOException | SQLException | RuntimeException e) {
            store.close();
            throw e;
        }
        AtomicInteger count = new AtomicInteger();
        executor = Executors.newFixedThreadPool(8, r -> {
            Thread t = new Thread(r, "vireda-peer-" + count.incrementAndGet());
            t.setDaemon(true);
            return t;
        });
        server.setExecutor(executor);
        server.createContext("/message", this::onMessage);
        server.createContext("/upload", this::onUpload);
        server.createContext("/media/", this::onMedia);
        server.createContext("/ping", this::onPing);
        server.start();
    }

    /** Starts a service; port 0 takes a free port. */
    public static PeerService start(InetAddress bind, int port, Path dataDirectory) throws IOException, SQLException {
        return new PeerService(bind, port, dataDirectory);
    }

    public int port() {
        return server.getAddress().getPort();
    }

    public ContentService content() {
        return content;
    }

    public PeerStore store() {
        return store;
    }

    public void stop() {
        server.stop(0);
        executor.shutdownNow();
        store.close();
    }

    private static void sweepPartialFiles(Path media) {
        try (DirectoryStream<Path> parts = Files.newDirectoryStream(media, "*.part")) {
            for (Path p : parts) {
                Files.deleteIfExists(p);
            }
        } catch (IOException ignored) {
            // nothing to sweep
        }
    }

    // ---- HTTP ----

    private static final class TooLarge extends IOException {
        private static final long serialVersionUID = 1L;
    }

    private static byte[] readLimited(InputStream in, long limit) throws IOException {
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        byte[] buffer = new byte[8192];
        long total = 0;
        int n;
        while ((n = in.read(buffer)) > 0) {
            total += n;
            if (total > limit) {
                throw new TooLarge();
            }
            out.write(buffer, 0, n);
        }
        return out.toByteArray();
    }

    /** Reads and drops what is left of a refused request body. */
    private static void drain(InputStream in) {
        byte[] buffer = new byte[65536];
        long total = 0;
        try {
            int n;
            while (total < MAX_DRAIN_BYTES && (n = in.read(buffer)) > 0) {
                total += n;
            }
        } catch (IOException ignored) {
            // the client went away
        }
    }

    private static final class ShortMessage extends IOException {
        private static final long serialVersionUID = 1L;
    }

    private static byte[] readExactly(InputStream in, int length) throws IOException {
        byte[] data = in.readNBytes(length);
        if (data.length != length) {
            throw new ShortMessage();
        }
        return data;
    }

    private static long declaredLength(HttpExchange ex) {
        String value = ex.getRequestHeaders().getFirst("Content-Length");
        try {
            return value == null ? -1 : Long.parseLong(value.trim());
        } catch (NumberFormatException e) {
            return -1;
        }
    }

    private static void send(HttpExchange ex, Reply reply) throws IOException {
        byte[] body = reply.text.getBytes(StandardCharsets.UTF_8);
        ex.getResponseHeaders().set("Content-Type", "application/xml; charset=utf-8");
        if (reply.session != null) {
            ex.getResponseHeaders().set(SESSION_HEADER, reply.session);
        }
        ex.sendResponseHeaders(reply.httpStatus, body.length);
        try (OutputStream out = ex.getResponseBody()) {
            out.write(body);
        }
    }

    private static void sendPlain(HttpExchange ex, int status, String text) throws IOException {
        byte[] body = text.getBytes(StandardCharsets.UTF_8);
        ex.getResponseHeaders().set("Content-Type", "text/plain; charset=utf-8");
        ex.sendResponseHeaders(status, body.length);
        try (OutputStream out = ex.getResponseBody()) {
            out.write(body);
        }
    }

    private static Reply tooLarge() {
        Reply r = MessageHandler.badRequest("The request is too large");
        return new Reply(413, r.text, null);
    }

    private void onMessage(HttpExchange ex) {
        try (ex) {
            if (!ex.getRequestMethod().equals("POST")) {
                drain(ex.getRequestBody());
                send(ex, new Reply(405, MessageHandler.badRequest("POST a message").text, null));
                return;
            }
            byte[] body;
            try {
                body = readLimited(ex.getRequestBody(), MAX_MESSAGE_BYTES);
            } catch (TooLarge e) {
                drain(ex.getRequestBody());
                send(ex, tooLarge());
                return;
            }
            String token = ex.getRequestHeaders().getFirst(SESSION_HEADER);
            send(ex, handler.handle(new String(body, StandardCharsets.UTF_8), token, null));
        } catch (IOException | RuntimeException e) {
            // the client went away; nothing was changed by a reply that could not be sent
        }
    }

    private void onUpload(HttpExchange ex) {
        try (ex) {
            send(ex, receiveUpload(ex));
        } catch (IOException | RuntimeException e) {
            // the client went away
        }
    }

    /** Reads an upload (message, then sound) and answers it; the sound never outlives the request. */
    private Reply receiveUpload(HttpExchange ex) throws IOException {
        if (!ex.getRequestMethod().equals("POST")) {
            drain(ex.getRequestBody());
            return new Reply(405, MessageHandler.badRequest("POST an upload").text, null);
        }
        long messageLength;
        try {
            messageLength = Long.parseLong(String.valueOf(ex.getRequestHeaders().getFirst(LENGTH_HEADER)).trim());
        } catch (NumberFormatException e) {
            messageLength = -1;
        }
        if (messageLength < 0) {
            drain(ex.getRequestBody());
            return MessageHandler.badRequest("The upload does not give its message length");
        }
        long declared = declaredLength(ex);
        if (messageLength > MAX_MESSAGE_BYTES || declared > MAX_MESSAGE_BYTES + MAX_SOUND_BYTES) {
            drain(ex.getRequestBody());
            return tooLarge();
        }
        InputStream in = ex.getRequestBody();
        byte[] message;
        try {
            message = readExactly(in, (int) messageLength);
        } catch (ShortMessage e) {
            return MessageHandler.badRequest("The upload is shorter than its message length");
        }
        Path sound = Files.createTempFile(content.mediaDirectory(), "upload-", ".part");
        try {
            long copied = 0;
            try (OutputStream out = Files.newOutputStream(sound)) {
                byte[] buffer = new byte[65536];
                int n;
                while ((n = in.read(buffer)) > 0) {
                    copied += n;
                    if (copied > MAX_SOUND_BYTES) {
                        drain(in);
                        return tooLarge();
                    }
                    out.write(buffer, 0, n);
                }
            }
            if (copied == 0) {
                return MessageHandler.badRequest("The upload holds no sound");
            }
            String token = ex.getRequestHeaders().getFirst(SESSION_HEADER);
            return handler.handle(new String(message, StandardCharsets.UTF_8), token, sound);
        } finally {
            // Moved away when stored; otherwise dropped here.
            Files.deleteIfExists(sound);
        }
    }

    private void onMedia(HttpExchange ex) {
        try (ex) {
            String name = ex.getRequestURI().getPath().substring("/media/".length());
            Path file = ex.getRequestMethod().equals("GET") ? content.mediaFile(name) : null;
            if (file == null) {
                sendPlain(ex, 404, "no such sound file");
                return;
            }
            ex.getResponseHeaders().set("Content-Type", "application/octet-stream");
            ex.sendResponseHeaders(200, Files.size(file));
            try (OutputStream out = ex.getResponseBody()) {
                Files.copy(file, out);
            }
        } catch (IOException | RuntimeException e) {
            // the client went away
        }
    }

    private void onPing(HttpExchange ex) {
        try (ex) {
            sendPlain(ex, 200, "ok");
        } catch (IOException | RuntimeException e) {
            // the client went away
        }
    }

    // ---- stand-alone ----

    private static void usage() {
        System.err.println("usage: PeerService --port N --data DIR [--bind ADDRESS]");
        System.exit(2);
    }

    public static void main(String[] args) throws Exception {
        int port = -1;
        Path data = null;
        InetAddress bind = InetAddress.getLoopbackAddress();
        for (int i = 0; i < args.length; i++) {
            if (i + 1 >= args.length) {
                usage();
            }
            switch (args[i]) {
            case "--port":
                port = Integer.parseInt(args[++i]);
                break;
            case "--data":
                data = Path.of(args[++i]);
                break;
            case "--bind":
                bind = InetAddress.getByName(args[++i]);
                break;
            default:
                usage();
            }
        }
        if (port < 0 || port > 65535 || data == null) {
            usage();
        }
        PeerService service = start(bind, port, data);
        System.out.println("Peer service listening on " + bind.getHostAddress() + ":" + service.port());
        Thread.currentThread().join();
    }
}
