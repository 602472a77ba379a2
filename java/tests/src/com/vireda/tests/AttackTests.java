package com.vireda.tests;

import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.net.InetAddress;
import java.net.InetSocketAddress;
import java.net.Socket;
import java.net.URI;
import java.net.http.HttpRequest;
import java.net.http.HttpResponse;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.security.cert.X509Certificate;
import java.time.Duration;
import java.util.ArrayList;
import java.util.List;

import javax.net.ssl.SSLContext;
import javax.net.ssl.SSLHandshakeException;
import javax.net.ssl.SSLSocket;
import javax.net.ssl.TrustManager;
import javax.net.ssl.X509TrustManager;

import com.vireda.peer.PeerService;
import com.vireda.peer.PeerSettings;
import com.vireda.xml.Xml;

/**
 * Attacks on the peer from a few loopback addresses, each while another client goes on
 * asking: the peer must keep answering it. No figure here is a latency goal; a request
 * counts as lost when it fails or waits longer than an outage would let it.
 */
final class AttackTests {
    /** Longer than any answer on a busy machine, far shorter than the outage an attack causes. */
    private static final Duration OUTAGE = Duration.ofSeconds(5);
    /** Fewer workers than the attack's connections, more than the peer needs for itself. */
    private static final int WORKERS = 16;

    private AttackTests() {
    }

    static Object[][] cases() {
        return new Object[][] {
            {"slowBodiesFromOneAddressHoldNoWorkers", (PeerTests.Case) () -> slowBodies(1, 48)},
            {"slowBodiesFromFourAddressesHoldNoWorkers", (PeerTests.Case) () -> slowBodies(4, 16)},
            {"connectionsPerAddressAreCapped", (PeerTests.Case) AttackTests::connectionsPerAddressAreCapped},
            {"tlsRefusesRenegotiationAndCbc", (PeerTests.Case) AttackTests::tlsRefusesRenegotiationAndCbc},
        };
    }

    /** A connection from that loopback address to the peer's port. */
    static Socket connect(String from, int port) throws IOException {
        Socket s = new Socket();
        s.bind(new InetSocketAddress(InetAddress.getByName(from), 0));
        s.connect(new InetSocketAddress(InetAddress.getLoopbackAddress(), port), (int) OUTAGE.toMillis());
        s.setSoTimeout((int) OUTAGE.toMillis());
        return s;
    }

    /** A POST whose body of length bytes will come a byte at a time. */
    static Socket slowBody(String from, int port, int length) throws IOException {
        Socket s = connect(from, port);
        s.getOutputStream().write(("POST /message HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/xml\r\n"
                + "Content-Length: " + length + "\r\n\r\n<").getBytes(StandardCharsets.US_ASCII));
        s.getOutputStream().flush();
        return s;
    }

    /** "ok" from GET /ping on a new connection from that address. */
    static String ping(String from, int port) throws IOException {
        try (Socket s = connect(from, port)) {
            OutputStream out = s.getOutputStream();
            out.write("GET /ping HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n"
                    .getBytes(StandardCharsets.US_ASCII));
            out.flush();
            String answer = new String(s.getInputStream().readAllBytes(), StandardCharsets.US_ASCII);
            return answer.startsWith("HTTP/1.1 200") && answer.endsWith("ok") ? "ok" : answer;
        }
    }

    /** Another client's search and ping, each within the outage bound; the slower of the two in ms. */
    static long normalClient(PeerFixture f) throws Exception {
        long t0 = System.nanoTime();
        Check.equal("ok", ping("127.0.0.1", f.peer.port()), "ping answered");
        HttpRequest search = HttpRequest.newBuilder(URI.create(f.base() + "/message")).timeout(OUTAGE)
                .POST(HttpRequest.BodyPublishers.ofString(PeerFixture.message("exerciseQuery",
                        "<term>cas</term><query_langID>spa</query_langID>"))).build();
        HttpResponse<String> r = f.http.send(search, HttpResponse.BodyHandlers.ofString(StandardCharsets.UTF_8));
        Check.equal("1", Xml.text(Xml.parse(r.body()).getDocumentElement(), "header", "status"), "search answered");
        Check.equal("1", Xml.text(Xml.parse(r.body()).getDocumentElement(), "body", "exerciseQueryReply",
                "total_result_available"), "search found");
        return (System.nanoTime() - t0) / 1_000_000;
    }

    /**
     * From each of that many addresses, perAddress connections send a request body a byte at a
     * time, more connections in all than the peer has workers; a dropped one is opened again
     * at once. Meanwhile another client's pings and searches are answered, none lost.
     */
    static void slowBodies(int addresses, int perAddress) throws Exception {
        PeerSettings settings = new PeerSettings();
        settings.maxThreads = WORKERS;
        try (PeerFixture f = new PeerFixture(settings)) {
            f.register("ann_lee", "pw", "");
            f.login("ann_lee", "pw");
            f.uploadExercise("ann_lee", "casa", "spa", "Ann");
            int port = f.peer.port();
            List<Socket> slow = new ArrayList<>();
            List<String> from = new ArrayList<>();
            try {
                for (int a = 0; a < addresses; a++) {
                    for (int i = 0; i < perAddress; i++) {
                        from.add("127.0.5." + (a + 1));
                        slow.add(slowBody(from.get(from.size() - 1), port, 100_000));
                    }
                }
                long end = System.nanoTime() + 10_000_000_000L;
                long slowest = 0;
                int asked = 0;
                int reopened = 0;
                while (System.nanoTime() - end < 0) {
                    for (int i = 0; i < slow.size(); i++) {
                        try {
                            slow.get(i).getOutputStream().write('a');
                            slow.get(i).getOutputStream().flush();
                        } catch (IOException e) {
                            // dropped by the peer: the attacker opens another
                            slow.get(i).close();
                            slow.set(i, slowBody(from.get(i), port, 100_000));
                            reopened++;
                        }
                    }
                    slowest = Math.max(slowest, normalClient(f));
                    asked++;
                    Thread.sleep(300);
                }
                System.out.println("  " + slow.size() + " slow bodies from " + addresses + " address(es), "
                        + WORKERS + " workers: " + asked + " pings and searches answered, the slowest in " + slowest
                        + " ms; " + reopened + " slow connections opened again");
            } finally {
                for (Socket s : slow) {
                    s.close();
                }
            }
        }
    }

    /** True while the peer keeps the connection open (nothing to read, not closed). */
    static boolean keptOpen(Socket s) throws IOException {
        s.setSoTimeout(300);
        try {
            return s.getInputStream().read() >= 0;
        } catch (java.net.SocketTimeoutException e) {
            return true;
        } catch (IOException e) {
            return false;
        }
    }

    /**
     * One address opens more connections than it may keep: the peer closes those past the cap,
     * answers others meanwhile, and that address again once it closed its own.
     */
    static void connectionsPerAddressAreCapped() throws Exception {
        PeerSettings settings = new PeerSettings();
        settings.connectionsPerAddress = 8;
        try (PeerFixture f = new PeerFixture(settings)) {
            int port = f.peer.port();
            List<Socket> held = new ArrayList<>();
            try {
                for (int i = 0; i < 20; i++) {
                    held.add(connect("127.0.6.1", port));
                }
                // Each socket is looked at once, after the peer had time to close what it closes.
                Thread.sleep(500);
                int open = 0;
                for (Socket s : held) {
                    open += keptOpen(s) ? 1 : 0;
                }
                Check.equal(settings.connectionsPerAddress, open, "connections kept from one address");
                Check.equal("ok", ping("127.0.0.1", port), "another address answered");
                boolean refused;
                try {
                    refused = !ping("127.0.6.1", port).equals("ok");
                } catch (IOException e) {
                    refused = true;
                }
                Check.isTrue(refused, "one more from the capped address is closed");
            } finally {
                for (Socket s : held) {
                    s.close();
                }
            }
            // The peer notices the closed connections as it reads them.
            long end = System.nanoTime() + OUTAGE.toNanos();
            String again = "";
            while (!again.equals("ok") && System.nanoTime() - end < 0) {
                try {
                    again = ping("127.0.6.1", port);
                } catch (IOException e) {
                    Thread.sleep(50);
                }
            }
            Check.equal("ok", again, "the address is answered again once its connections are closed");
        }
    }

    private static SSLContext trustingEveryone() throws Exception {
        SSLContext context = SSLContext.getInstance("TLS");
        context.init(null, new TrustManager[] {new X509TrustManager() {
            @Override
            public void checkClientTrusted(X509Certificate[] chain, String authType) {
            }

            @Override
            public void checkServerTrusted(X509Certificate[] chain, String authType) {
            }

            @Override
            public X509Certificate[] getAcceptedIssuers() {
                return new X509Certificate[0];
            }
        }}, null);
        return context;
    }

    private static String pingOver(SSLSocket s) throws IOException {
        OutputStream out = s.getOutputStream();
        out.write("GET /ping HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n".getBytes(StandardCharsets.US_ASCII));
        out.flush();
        InputStream in = s.getInputStream();
        byte[] buffer = new byte[4096];
        StringBuilder answer = new StringBuilder();
        int n;
        while (!answer.toString().endsWith("\r\n\r\nok") && (n = in.read(buffer)) > 0) {
            answer.append(new String(buffer, 0, n, StandardCharsets.US_ASCII));
        }
        return answer.toString().endsWith("ok") ? "ok" : answer.toString();
    }

    /**
     * Over HTTPS the peer offers no CBC suite on TLS 1.2 (a client asking only for those is
     * refused) and closes a connection whose client starts a second handshake.
     */
    static void tlsRefusesRenegotiationAndCbc() throws Exception {
        Path dir = Files.createTempDirectory("vireda-tls");
        PeerService peer = null;
        try {
            ClientTests.keytool("-genkeypair", "-alias", "peer", "-keyalg", "EC", "-groupname", "secp256r1",
                    "-validity", "2", "-dname", "CN=vireda-test-peer", "-storetype", "PKCS12",
                    "-keystore", dir.resolve("peer.p12").toString(), "-storepass", "secret-1",
                    "-keypass", "secret-1");
            PeerSettings settings = new PeerSettings();
            settings.tlsKeyStore = dir.resolve("peer.p12").toString();
            settings.tlsKeyStorePassword = "secret-1";
            peer = PeerService.start(InetAddress.getLoopbackAddress(), 0, dir.resolve("data"), settings);
            SSLContext context = trustingEveryone();
            String[] cbc = {"TLS_ECDHE_ECDSA_WITH_AES_128_CBC_SHA256", "TLS_ECDHE_ECDSA_WITH_AES_256_CBC_SHA384",
                "TLS_ECDHE_ECDSA_WITH_AES_128_CBC_SHA", "TLS_ECDHE_ECDSA_WITH_AES_256_CBC_SHA"};
            try (SSLSocket s = (SSLSocket) context.getSocketFactory().createSocket("127.0.0.1", peer.port())) {
                s.setSoTimeout(5000);
                s.setEnabledProtocols(new String[] {"TLSv1.2"});
                s.setEnabledCipherSuites(cbc);
                boolean refused = false;
                try {
                    s.startHandshake();
                } catch (SSLHandshakeException e) {
                    refused = true;
                } catch (IOException e) {
                    refused = true;
                }
                Check.isTrue(refused, "a client offering only CBC suites is refused, not given "
                        + s.getSession().getCipherSuite());
            }
            try (SSLSocket s = (SSLSocket) context.getSocketFactory().createSocket("127.0.0.1", peer.port())) {
                s.setSoTimeout(5000);
                s.setEnabledProtocols(new String[] {"TLSv1.2"});
                s.startHandshake();
                String suite = s.getSession().getCipherSuite();
                Check.isTrue(suite.contains("_GCM_") || suite.contains("_CHACHA20_"), "AEAD suite: " + suite);
                Check.equal("ok", pingOver(s), "answered over TLS 1.2");
                String after;
                try {
                    s.startHandshake();
                    after = pingOver(s);
                } catch (IOException e) {
                    after = e.toString();
                }
                Check.isTrue(!after.equals("ok"), "a renegotiated connection is not answered");
            }
            try (SSLSocket s = (SSLSocket) context.getSocketFactory().createSocket("127.0.0.1", peer.port())) {
                s.setSoTimeout(5000);
                s.startHandshake();
                Check.equal("TLSv1.3", s.getSession().getProtocol(), "TLS 1.3 offered");
                Check.equal("ok", pingOver(s), "answered over TLS 1.3");
            }
        } finally {
            if (peer != null) {
                peer.stop();
            }
            PeerFixture.deleteTree(dir);
        }
    }
}
