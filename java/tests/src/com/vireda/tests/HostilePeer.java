package com.vireda.tests;

import java.io.IOException;
import java.io.OutputStream;
import java.net.InetAddress;
import java.net.InetSocketAddress;
import java.nio.charset.StandardCharsets;
import java.util.concurrent.Executors;
import java.util.concurrent.atomic.AtomicInteger;

import com.sun.net.httpserver.HttpExchange;
import com.sun.net.httpserver.HttpServer;

/**
 * A peer that answers as a hostile one would. A download of the exercise
 * "<kind>" names the sound "<kind>.wav" (the exercise "learner" names
 * "learner_1.wav"); sounds: "endless" never ends, "program" is not a WAV file,
 * "stall" sends its start and then nothing; the exercise "huge" and every
 * search get a reply that never ends; "attribute" names its sound in an
 * attribute that climbs out of Content.
 */
final class HostilePeer implements AutoCloseable {
    static final byte[] WAV = wav();

    private final HttpServer server;
    final AtomicInteger mediaRequests = new AtomicInteger();

    HostilePeer() throws IOException {
        server = HttpServer.create(new InetSocketAddress(InetAddress.getLoopbackAddress(), 0), 16);
        server.createContext("/ping", ex -> send(ex, "ok".getBytes(StandardCharsets.UTF_8)));
        server.createContext("/message", this::message);
        server.createContext("/media/", this::media);
        server.setExecutor(Executors.newCachedThreadPool(r -> {
            Thread t = new Thread(r, "hostile-peer");
            t.setDaemon(true);
            return t;
        }));
        server.start();
    }

    String base() {
        return "http://127.0.0.1:" + server.getAddress().getPort() + "/";
    }

    private static byte[] wav() {
        byte[] b = new byte[64];
        System.arraycopy("RIFF".getBytes(StandardCharsets.US_ASCII), 0, b, 0, 4);
        b[4] = 56;
        System.arraycopy("WAVEfmt ".getBytes(StandardCharsets.US_ASCII), 0, b, 8, 8);
        return b;
    }

    private static void send(HttpExchange ex, byte[] body) throws IOException {
        ex.sendResponseHeaders(200, body.length);
        try (OutputStream out = ex.getResponseBody()) {
            out.write(body);
        }
    }

    /** Sends start and then zeros until the client stops reading. */
    private static void endless(HttpExchange ex, byte[] start) {
        try {
            ex.sendResponseHeaders(200, 0);
            try (OutputStream out = ex.getResponseBody()) {
                out.write(start);
                byte[] zeros = new byte[65536];
                while (true) {
                    out.write(zeros);
                }
            }
        } catch (IOException stopped) {
            ex.close();
        }
    }

    private void message(HttpExchange ex) throws IOException {
        String request = new String(ex.getRequestBody().readAllBytes(), StandardCharsets.UTF_8);
        if (request.contains("Query") || request.contains(">huge<")) {
            endless(ex, "<message><header><status>1</status></header><body>".getBytes(StandardCharsets.UTF_8));
            return;
        }
        if (!request.contains("downloadExercise")) {
            send(ex, "<message><header><status>-1</status></header><body/></message>".getBytes(StandardCharsets.UTF_8));
            return;
        }
        String kind = request.replaceAll("(?s).*<persistentManifestID>([a-z]+)</persistentManifestID>.*", "$1");
        String media = kind.equals("learner") ? "learner_1.wav" : kind + ".wav";
        String manifest = kind.equals("attribute")
                ? "<media_manifest mediaManifestFileName=\"../../../../etc/hostname\">"
                : "<media_manifest><mediaManifestFileName>" + media + "</mediaManifestFileName>";
        send(ex, ("<message><header><status>1</status></header><body><downloadExerciseReply><exercise>"
                + "<manifest persistentManifestID=\"" + kind + "\"/><media>" + manifest
                + "</media_manifest></media></exercise></downloadExerciseReply></body></message>")
                .getBytes(StandardCharsets.UTF_8));
    }

    private void media(HttpExchange ex) throws IOException {
        mediaRequests.incrementAndGet();
        String name = ex.getRequestURI().getPath().substring("/media/".length());
        switch (name) {
        case "endless.wav":
            endless(ex, WAV);
            break;
        case "program.wav":
            endless(ex, "MZ\u0090\u0000program".getBytes(StandardCharsets.ISO_8859_1));
            break;
        case "stall.wav":
            ex.sendResponseHeaders(200, 1 << 20);
            try (OutputStream out = ex.getResponseBody()) {
                out.write(WAV);
                out.flush();
                Thread.sleep(60_000);
            } catch (InterruptedException | IOException e) {
                ex.close();
            }
            break;
        default:
            send(ex, WAV);
        }
    }

    @Override
    public void close() {
        server.stop(0);
    }
}
