package com.vireda.tests;

import java.io.IOException;
import java.io.OutputStream;
import java.net.InetAddress;
import java.net.InetSocketAddress;
import java.nio.charset.StandardCharsets;
import java.util.concurrent.Executors;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.concurrent.atomic.AtomicLong;

import com.sun.net.httpserver.HttpExchange;
import com.sun.net.httpserver.HttpServer;

/**
 * A peer that answers as a hostile one would. A download of the exercise
 * "<kind>" names the sound "<kind>.wav" (the exercise "learner" names
 * "learner_1.wav"); sounds: "endless" never ends, "program" is not a WAV file,
 * "stall" sends its start and then nothing; the exercise "huge" and every
 * other search get a reply that never ends; the exercise "claimed" gets a
 * reply that claims 512 MB; "attribute" names its sound in an attribute that
 * climbs out of Content; "fields" holds 150,000 fields; the sound "overlong"
 * is longer than the length it is sent with; "bigtranslations" has a plain
 * sound and a translation reply that never ends. A search for "manyResults" finds 100,000 exercises,
 * one for "manyMembers" a lesson of 100,000 members. Run alone, it serves
 * until stopped and names its address on the standard output.
 */
public final class HostilePeer implements AutoCloseable {
    static final byte[] WAV = wav();

    private final HttpServer server;
    final AtomicInteger mediaRequests = new AtomicInteger();
    /** Bytes of endless replies and sounds written so far: what a client let through before it stopped. */
    final AtomicLong endlessBytes = new AtomicLong();
    /** Endless replies and sounds still being written. */
    final AtomicInteger endlessWriters = new AtomicInteger();
    static final int MANY = 100_000;
    static final long CLAIMED_BYTES = 512L << 20;
    static final int FIELDS = 150_000;

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

    /** A WAV sound of 20 silent 8-bit samples. */
    private static byte[] wav() {
        byte[] b = new byte[64];
        System.arraycopy(wavHeader(20), 0, b, 0, 44);
        java.util.Arrays.fill(b, 44, 64, (byte) 0x80);
        return b;
    }

    /** The 44-byte header of a WAV sound of dataBytes 8-bit mono samples at 8000 Hz. */
    static byte[] wavHeader(int dataBytes) {
        java.nio.ByteBuffer b = java.nio.ByteBuffer.allocate(44).order(java.nio.ByteOrder.LITTLE_ENDIAN);
        b.put("RIFF".getBytes(StandardCharsets.US_ASCII)).putInt(36 + dataBytes);
        b.put("WAVEfmt ".getBytes(StandardCharsets.US_ASCII)).putInt(16);
        b.putShort((short) 1).putShort((short) 1).putInt(8000).putInt(8000).putShort((short) 1).putShort((short) 8);
        b.put("data".getBytes(StandardCharsets.US_ASCII)).putInt(dataBytes);
        return b.array();
    }

    private static void send(HttpExchange ex, byte[] body) throws IOException {
        ex.sendResponseHeaders(200, body.length);
        try (OutputStream out = ex.getResponseBody()) {
            out.write(body);
        }
    }

    /** Sends start and then zeros until the client stops reading; claimed: the length announced, 0 for none. */
    private void endless(HttpExchange ex, byte[] start, long claimed) {
        endlessWriters.incrementAndGet();
        try {
            ex.sendResponseHeaders(200, claimed);
            try (OutputStream out = ex.getResponseBody()) {
                out.write(start);
                byte[] zeros = new byte[65536];
                for (long sent = start.length; claimed == 0 || sent < claimed; sent += zeros.length) {
                    out.write(zeros);
                    endlessBytes.addAndGet(zeros.length);
                }
            }
        } catch (IOException stopped) {
            ex.close();
        } finally {
            endlessWriters.decrementAndGet();
        }
    }

    /** Waits (bounded) until no endless reply is being written; false when one still is. */
    boolean endlessStopped() throws InterruptedException {
        for (int i = 0; i < 500 && endlessWriters.get() > 0; i++) {
            Thread.sleep(20);
        }
        return endlessWriters.get() == 0;
    }

    private static byte[] utf8(String text) {
        return text.getBytes(StandardCharsets.UTF_8);
    }

    private static String manyResults() {
        StringBuilder b = new StringBuilder("<message><header><status>1</status></header><body><exerciseQueryReply>");
        for (int i = 0; i < MANY; i++) {
            b.append("<exercise><manifest persistentManifestID=\"m").append(i).append("\"/></exercise>");
        }
        return b.append("<total_result_available>").append(MANY)
                .append("</total_result_available></exerciseQueryReply></body></message>").toString();
    }

    private static String manyMembers() {
        StringBuilder b = new StringBuilder("<message><header><status>1</status></header><body><lessonQueryReply>"
                + "<lesson numChildren=\"" + MANY + "\"><manifest persistentManifestID=\"manyMembers\"/>"
                + "<textual_manifest><manifestTitle>many</manifestTitle></textual_manifest><exercises>");
        for (int i = 1; i <= MANY; i++) {
            b.append("<exercise sequenceNb=\"").append(i).append("\" persistentManifestID=\"m").append(i).append("\"/>");
        }
        return b.append("</exercises></lesson><total_result_available>1</total_result_available>"
                + "</lessonQueryReply></body></message>").toString();
    }

    private void message(HttpExchange ex) throws IOException {
        String request = new String(ex.getRequestBody().readAllBytes(), StandardCharsets.UTF_8);
        byte[] start = utf8("<message><header><status>1</status></header><body>");
        if (request.contains("manyResults")) {
            send(ex, utf8(manyResults()));
            return;
        }
        if (request.contains("manyMembers")) {
            send(ex, utf8(manyMembers()));
            return;
        }
        if (request.contains("claimed")) {
            endless(ex, start, CLAIMED_BYTES);
            return;
        }
        if (request.contains("Query") || request.contains(">huge<")
                || (request.contains("downloadTranslation") && request.contains(">bigtranslations<"))) {
            endless(ex, start, 0);
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
        String kvps = kind.equals("fields") ? "<kvps>" + "<kvp kvpTypeID=\"7\"/>".repeat(FIELDS) + "</kvps>" : "";
        send(ex, ("<message><header><status>1</status></header><body><downloadExerciseReply><exercise>"
                + "<manifest persistentManifestID=\"" + kind + "\"/><media>" + manifest
                + "</media_manifest></media>" + kvps + "</exercise></downloadExerciseReply></body></message>")
                .getBytes(StandardCharsets.UTF_8));
    }

    private void media(HttpExchange ex) throws IOException {
        mediaRequests.incrementAndGet();
        String name = ex.getRequestURI().getPath().substring("/media/".length());
        switch (name) {
        case "endless.wav":
            endless(ex, WAV, 0);
            break;
        case "program.wav":
            endless(ex, "MZ\u0090\u0000program".getBytes(StandardCharsets.ISO_8859_1), 0);
            break;
        case "overlong.wav":
            // Says it is WAV.length bytes long, then sends more.
            ex.getResponseHeaders().set("Content-Length", Integer.toString(WAV.length));
            ex.sendResponseHeaders(200, 0);
            try (OutputStream out = ex.getResponseBody()) {
                out.write(WAV);
                out.write(new byte[1 << 20]);
            } catch (IOException stopped) {
                ex.close();
            }
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

    /** Serves until the process is stopped. */
    public static void main(String[] args) throws Exception {
        HostilePeer peer = new HostilePeer();
        System.out.println("hostile peer listening on 127.0.0.1:" + peer.server.getAddress().getPort());
        System.out.flush();
        Thread.sleep(Long.MAX_VALUE);
    }
}
