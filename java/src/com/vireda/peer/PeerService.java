package com.vireda.peer;

import java.io.IOException;
import java.io.OutputStream;
import java.lang.management.ManagementFactory;
import java.net.InetAddress;
import java.nio.charset.StandardCharsets;
import java.nio.file.DirectoryStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.sql.SQLException;
import java.util.ArrayList;
import java.util.List;

import javax.servlet.AsyncContext;
import javax.servlet.http.HttpServletRequest;
import javax.servlet.http.HttpServletResponse;

import org.eclipse.jetty.http.HttpCompliance;
import org.eclipse.jetty.server.HttpConfiguration;
import org.eclipse.jetty.server.HttpConnectionFactory;
import org.eclipse.jetty.server.Request;
import org.eclipse.jetty.server.Server;
import org.eclipse.jetty.server.SslConnectionFactory;
import org.eclipse.jetty.util.ssl.SslContextFactory;
import org.eclipse.jetty.server.handler.AbstractHandler;
import org.eclipse.jetty.util.thread.QueuedThreadPool;

/**
 * The peer service over HTTP. POST /message takes one message and answers it;
 * POST /upload takes a message of X-Vireda-Message-Length bytes followed by a
 * sound file; GET /media/NAME gives a stored sound file; GET /ping answers "ok".
 * The session given at sign-in travels in the X-Vireda-Session header.
 * Connections silent for the idle time-out are closed, a request body must
 * arrive within the request time-out and at a least rate, and no request is left without
 * an answer; bodies are read as they arrive, and one address keeps a limited number of
 * connections open.
 */
public final class PeerService {
    public static final String SESSION_HEADER = "X-Vireda-Session";
    public static final String LENGTH_HEADER = "X-Vireda-Message-Length";
    public static final int MAX_MESSAGE_BYTES = 1 << 20;
    public static final long MAX_SOUND_BYTES = 32L << 20;

    static {
        // The server's own log tells only of trouble.
        if (System.getProperty("org.eclipse.jetty.LEVEL") == null) {
            System.setProperty("org.eclipse.jetty.LEVEL", "WARN");
        }
        if (System.getProperty("org.eclipse.jetty.util.log.announce") == null) {
            System.setProperty("org.eclipse.jetty.util.log.announce", "false");
        }
    }

    private final Server server;
    private final CappedConnector connector;
    private final PeerSettings settings;
    private final PeerStore store;
    private final ContentService content;
    private final MessageHandler handler;
    private boolean stopped;

    private PeerService(InetAddress bind, int port, Path dataDirectory, PeerSettings settings) throws Exception {
        this.settings = settings;
        store = new PeerStore(dataDirectory);
        try {
            Path media = dataDirectory.resolve("media");
            content = new ContentService(store, media);
            sweepPartialFiles(media);
            Sessions sessions = new Sessions(settings.clock);
            handler = new MessageHandler(new AccountService(store, sessions, settings), content, sessions, settings);

            // The acceptor and the selector keep a thread each and one worker
            // waits; more start with the requests and end after idling.
            QueuedThreadPool pool = new QueuedThreadPool(settings.maxThreads, Math.min(3, settings.maxThreads));
            pool.setName("vireda-peer");
            pool.setDaemon(true);
            server = new Server(pool);
            HttpConfiguration http = new HttpConfiguration();
            http.setRequestHeaderSize(settings.maxHeaderBytes);
            http.setSendServerVersion(false);
            http.setSendDateHeader(false);
            HttpConnectionFactory factory = new HttpConnectionFactory(http);
            factory.setHttpCompliance(HttpCompliance.RFC7230);
            if (settings.servesHttps()) {
                SslContextFactory.Server tls = new SslContextFactory.Server();
                tls.setKeyStorePath(settings.tlsKeyStore);
                tls.setKeyStorePassword(settings.tlsKeyStorePassword);
                tls.setKeyStoreType(settings.tlsKeyStoreType);
                // TLS 1.2 and 1.3 with authenticated encryption only; a client may not renegotiate.
                tls.setIncludeProtocols("TLSv1.3", "TLSv1.2");
                tls.setIncludeCipherSuites(".*_GCM_.*", ".*_CHACHA20_POLY1305_.*");
                tls.addExcludeCipherSuites(".*_CBC_.*");
                tls.setRenegotiationAllowed(false);
                connector = new CappedConnector(server, settings.connectionsPerAddress,
                        new SslConnectionFactory(tls, "http/1.1"), factory);
            } else {
                connector = new CappedConnector(server, settings.connectionsPerAddress, factory);
            }
            connector.setHost(bind.getHostAddress());
            connector.setPort(port);
            connector.setIdleTimeout(settings.idleTimeoutMillis);
            connector.setAcceptQueueSize(256);
            server.addConnector(connector);
            server.setHandler(new AbstractHandler() {
                @Override
                public void handle(String target, Request base, HttpServletRequest request,
                        HttpServletResponse response) {
                    base.setHandled(true);
                    serve(target, request, response);
                }
            });
            server.setStopTimeout(2000);
            server.start();
        } catch (Exception e) {
            store.close();
            throw e;
        }
    }

    /** Starts a service with the settings of its data folder; port 0 takes a free port. */
    public static PeerService start(InetAddress bind, int port, Path dataDirectory) throws IOException, SQLException {
        return start(bind, port, dataDirectory, null);
    }

    /** Starts a service with these settings (null: those of its data folder). */
    public static PeerService start(InetAddress bind, int port, Path dataDirectory, PeerSettings settings)
            throws IOException, SQLException {
        Files.createDirectories(dataDirectory);
        PeerSettings used = settings == null ? PeerSettings.load(dataDirectory) : settings;
        try {
            return new PeerService(bind, port, dataDirectory, used);
        } catch (IOException | SQLException | RuntimeException e) {
            throw e;
        } catch (Exception e) {
            throw new IOException("The peer's HTTP server did not start: " + e.getMessage(), e);
        }
    }

    public int port() {
        return connector.getLocalPort();
    }

    public ContentService content() {
        return content;
    }

    public PeerStore store() {
        return store;
    }

    public PeerSettings settings() {
        return settings;
    }

    /** Stops serving, keeps the search index for the next start and closes the store; once. */
    public synchronized void stop() {
        if (stopped) {
            return;
        }
        stopped = true;
        try {
            server.stop();
        } catch (Exception ignored) {
            // stopping anyway
        }
        content.saveIndexes();
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

    static void send(HttpServletResponse response, Reply reply) throws IOException {
        byte[] body = reply.text.getBytes(StandardCharsets.UTF_8);
        response.setStatus(reply.httpStatus);
        response.setContentType("application/xml; charset=utf-8");
        if (reply.session != null) {
            response.setHeader(SESSION_HEADER, reply.session);
        }
        response.setContentLength(body.length);
        try (OutputStream out = response.getOutputStream()) {
            out.write(body);
        }
    }

    private static void sendPlain(HttpServletResponse response, int status, String text) throws IOException {
        byte[] body = text.getBytes(StandardCharsets.UTF_8);
        response.setStatus(status);
        response.setContentType("text/plain; charset=utf-8");
        response.setContentLength(body.length);
        try (OutputStream out = response.getOutputStream()) {
            out.write(body);
        }
    }

    /** Every request ends here; nothing thrown leaves it. Bodies are read as they arrive, no worker waits for one. */
    private void serve(String target, HttpServletRequest request, HttpServletResponse response) {
        try {
            if (target.equals("/message")) {
                receiveMessage(request);
            } else if (target.equals("/upload")) {
                receiveUpload(request);
            } else if (target.startsWith("/media/")) {
                serveMedia(target.substring("/media/".length()), request, response);
            } else if (target.equals("/ping")) {
                sendPlain(response, 200, "ok");
            } else {
                sendPlain(response, 404, "not found");
            }
        } catch (IOException | RuntimeException | StackOverflowError | OutOfMemoryError e) {
            // The client went away, or the answer failed: tell it when it still listens.
            try {
                if (request.isAsyncStarted()) {
                    // Failed before its body was read: answered here, and the request ends.
                    try {
                        if (!response.isCommitted()) {
                            send(response, new Reply(500,
                                    MessageHandler.badRequest("The peer could not handle the request").text, null));
                        }
                    } finally {
                        request.getAsyncContext().complete();
                    }
                    return;
                }
                if (!response.isCommitted()) {
                    response.reset();
                    send(response, new Reply(500, MessageHandler.badRequest("The peer could not handle the request").text,
                            null));
                }
            } catch (IOException | RuntimeException ignored) {
                // nothing more to say
            }
        }
    }

    private void receiveMessage(HttpServletRequest request) throws IOException {
        AsyncContext async = request.startAsync();
        long timeout = settings.requestTimeoutMillis;
        long least = settings.minRequestBytesPerSecond;
        if (!request.getMethod().equals("POST")) {
            BodyReader.refuse(async, timeout, least,
                    new Reply(405, MessageHandler.badRequest("POST a message").text, null));
            return;
        }
        if (request.getContentLengthLong() > MAX_MESSAGE_BYTES) {
            BodyReader.refuse(async, timeout, least, BodyReader.tooLarge());
            return;
        }
        String session = request.getHeader(SESSION_HEADER);
        String address = request.getRemoteAddr();
        BodyReader.read(async, timeout, least, MAX_MESSAGE_BYTES, null, 0,
                (body, none) -> handler.handle(new String(body, StandardCharsets.UTF_8), session, null, address));
    }

    /** Reads an upload (message, then sound) and answers it; the sound never outlives the request. */
    private void receiveUpload(HttpServletRequest request) throws IOException {
        AsyncContext async = request.startAsync();
        long timeout = settings.requestTimeoutMillis;
        long least = settings.minRequestBytesPerSecond;
        if (!request.getMethod().equals("POST")) {
            BodyReader.refuse(async, timeout, least,
                    new Reply(405, MessageHandler.badRequest("POST an upload").text, null));
            return;
        }
        long messageLength;
        try {
            messageLength = Long.parseLong(String.valueOf(request.getHeader(LENGTH_HEADER)).trim());
        } catch (NumberFormatException e) {
            messageLength = -1;
        }
        if (messageLength < 0) {
            BodyReader.refuse(async, timeout, least,
                    MessageHandler.badRequest("The upload does not give its message length"));
            return;
        }
        long declared = request.getContentLengthLong();
        if (messageLength > MAX_MESSAGE_BYTES || declared > MAX_MESSAGE_BYTES + MAX_SOUND_BYTES) {
            BodyReader.refuse(async, timeout, least, BodyReader.tooLarge());
            return;
        }
        String session = request.getHeader(SESSION_HEADER);
        String address = request.getRemoteAddr();
        long wanted = messageLength;
        Path sound = Files.createTempFile(content.mediaDirectory(), "upload-", ".part");
        BodyReader.read(async, timeout, least, messageLength, sound, MAX_SOUND_BYTES, (message, copied) -> {
            if (message.length != wanted) {
                return MessageHandler.badRequest("The upload is shorter than its message length");
            }
            if (copied == 0) {
                return MessageHandler.badRequest("The upload holds no sound");
            }
            // Moved away when stored; otherwise dropped when the request ends.
            return handler.handle(new String(message, StandardCharsets.UTF_8), session, sound, address);
        });
    }

    private void serveMedia(String name, HttpServletRequest request, HttpServletResponse response)
            throws IOException {
        Path file = request.getMethod().equals("GET") ? content.mediaFile(name) : null;
        if (file == null) {
            sendPlain(response, 404, "no such sound file");
            return;
        }
        response.setStatus(200);
        response.setContentType("application/octet-stream");
        response.setContentLengthLong(Files.size(file));
        try (OutputStream out = response.getOutputStream()) {
            Files.copy(file, out);
        }
    }

    // ---- stand-alone ----

    private static void usage() {
        System.err.println("usage: PeerService --port N --data DIR [--bind ADDRESS] [--plain-http]");
        System.exit(2);
    }

    public boolean servesHttps() {
        return settings.servesHttps();
    }

    /**
     * Runs the service in a virtual machine with the heap its settings name, unless this one
     * was given a heap on its command line or is that machine: its exit status, or null to
     * run here.
     */
    private static final String LAUNCHED = "vireda.peer.launched";

    private static Integer runWithHeap(String[] args, Path data) throws IOException, InterruptedException {
        for (String option : ManagementFactory.getRuntimeMXBean().getInputArguments()) {
            if (option.startsWith("-Xmx") || option.startsWith("-XX:MaxHeapSize=")) {
                return null;
            }
        }
        Files.createDirectories(data);
        PeerSettings settings = PeerSettings.load(data);
        String java = ProcessHandle.current().info().command()
                .orElse(Path.of(System.getProperty("java.home"), "bin", "java").toString());
        List<String> command = new ArrayList<>(List.of(java, "-Xmx" + settings.heapMegabytes + "m",
                "-D" + LAUNCHED + "=1", "-cp", System.getProperty("java.class.path"), PeerService.class.getName()));
        command.addAll(List.of(args));
        Process service = new ProcessBuilder(command).inheritIO().start();
        Runtime.getRuntime().addShutdownHook(new Thread(service::destroy));
        return service.waitFor();
    }

    public static void main(String[] args) throws Exception {
        int port = -1;
        Path data = null;
        InetAddress bind = InetAddress.getLoopbackAddress();
        boolean plainHttp = false;
        for (int i = 0; i < args.length; i++) {
            if (args[i].equals("--plain-http")) {
                plainHttp = true;
                continue;
            }
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
        if (System.getProperty(LAUNCHED) != null) {
            // Ends with the process that started it, however that one ended.
            ProcessHandle.current().parent().ifPresent(p -> p.onExit().thenRun(() -> System.exit(0)));
        } else {
            Integer exit = runWithHeap(args, data);
            if (exit != null) {
                System.exit(exit);
            }
        }
        Files.createDirectories(data);
        PeerSettings settings = PeerSettings.load(data);
        // Passwords and session tokens cross the network: in clear text only when told plainly.
        if (!settings.servesHttps() && !bind.isLoopbackAddress()) {
            if (!plainHttp) {
                System.err.println("The peer does not start on " + bind.getHostAddress() + " without HTTPS: name a key "
                        + "store as tls.keyStore in " + data.resolve(PeerSettings.FILE_NAME)
                        + ", or give --plain-http to send passwords in clear text");
                System.exit(2);
            }
            System.err.println("WARNING: plain HTTP on " + bind.getHostAddress()
                    + ": passwords and session tokens cross the network in clear text");
        }
        PeerService service = start(bind, port, data, settings);
        Runtime.getRuntime().addShutdownHook(new Thread(service::stop, "vireda-peer-stop"));
        System.out.println("Peer service listening on " + (settings.servesHttps() ? "https://" : "")
                + bind.getHostAddress() + ":" + service.port());
        Thread.currentThread().join();
    }
}
