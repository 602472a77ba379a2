package com.vireda.tests;

import java.io.IOException;
import java.io.UncheckedIOException;
import java.net.InetAddress;
import java.net.URI;
import java.net.http.HttpClient;
import java.net.http.HttpRequest;
import java.net.http.HttpResponse;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Comparator;
import java.util.LinkedHashMap;
import java.util.Map;
import java.util.stream.Stream;

import org.w3c.dom.Document;
import org.w3c.dom.Element;

import com.vireda.peer.PeerService;
import com.vireda.peer.PeerSettings;
import com.vireda.xml.Xml;

/** A peer service on a fresh data folder and an HTTP client that keeps sessions by name. */
final class PeerFixture implements AutoCloseable {
    static final String DECLARATION = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n";

    /** One HTTP answer: status code, session header and parsed body. */
    static final class Answer {
        final int code;
        final String session;
        final String text;
        final Document doc;

        Answer(int code, String session, String text) {
            this.code = code;
            this.session = session;
            this.text = text;
            this.doc = Xml.parse(text);
        }

        Element root() {
            return doc == null ? null : doc.getDocumentElement();
        }

        String status() {
            return Xml.text(root(), "header", "status");
        }

        String at(String... path) {
            return Xml.text(root(), path);
        }

        Element element(String... path) {
            return Xml.at(root(), path);
        }
    }

    final Path dir;
    PeerService peer;
    final HttpClient http = HttpClient.newBuilder().version(HttpClient.Version.HTTP_1_1).build();
    final Map<String, String> sessions = new LinkedHashMap<>();
    final PeerSettings settings;

    PeerFixture() throws Exception {
        this(null);
    }

    /** A peer with these settings (null: its data folder's). */
    PeerFixture(PeerSettings settings) throws Exception {
        this.settings = settings;
        dir = Files.createTempDirectory("vireda-peer-test");
        peer = PeerService.start(InetAddress.getLoopbackAddress(), 0, dir.resolve("data"), settings);
    }

    void restart() throws Exception {
        peer.stop();
        peer = PeerService.start(InetAddress.getLoopbackAddress(), 0, dir.resolve("data"), settings);
    }

    String base() {
        return "http://127.0.0.1:" + peer.port();
    }

    static String message(String type, String body) {
        return DECLARATION + "<message><header><from>pc1|01.02.2024|10:00</from><to>not-impelented</to><type>" + type
                + "</type><xmlVersion>1</xmlVersion></header><body><" + type + ">" + body + "</" + type
                + "></body></message>";
    }

    Answer post(String path, byte[] body, Map<String, String> headers) {
        try {
            HttpRequest.Builder b = HttpRequest.newBuilder(URI.create(base() + path))
                    .POST(HttpRequest.BodyPublishers.ofByteArray(body));
            headers.forEach(b::header);
            HttpResponse<String> r = http.send(b.build(), HttpResponse.BodyHandlers.ofString(StandardCharsets.UTF_8));
            return new Answer(r.statusCode(), r.headers().firstValue("X-Vireda-Session").orElse(null), r.body());
        } catch (IOException e) {
            throw new UncheckedIOException(e);
        } catch (InterruptedException e) {
            throw new IllegalStateException(e);
        }
    }

    int get(String path) {
        try {
            HttpRequest request = HttpRequest.newBuilder(URI.create(base() + path)).GET().build();
            return http.send(request, HttpResponse.BodyHandlers.discarding()).statusCode();
        } catch (IOException e) {
            throw new UncheckedIOException(e);
        } catch (InterruptedException e) {
            throw new IllegalStateException(e);
        }
    }

    /** Sends a message, as the signed-in user asUser (null: no session). */
    Answer send(String asUser, String type, String body) {
        Map<String, String> headers = new LinkedHashMap<>();
        if (asUser != null && sessions.containsKey(asUser)) {
            headers.put("X-Vireda-Session", sessions.get(asUser));
        }
        return post("/message", message(type, body).getBytes(StandardCharsets.UTF_8), headers);
    }

    Answer register(String name, String password, String email) {
        return send(null, "register", "<general><username><![CDATA[" + name + "]]></username><password><![CDATA["
                + password + "]]></password><email>" + email + "</email><countryID>ES</countryID></general>"
                + "<fluency><languageID>spa</languageID><fluencyID>3</fluencyID><nonSpeaking>0</nonSpeaking></fluency>");
    }

    /** Signs in and keeps the session under the name given. */
    Answer login(String name, String password) {
        Answer a = send(null, "login", "<username><![CDATA[" + name + "]]></username><password><![CDATA[" + password
                + "]]></password>");
        if (a.session != null && !a.session.isEmpty()) {
            sessions.put(name, a.session);
        }
        return a;
    }

    String userId(String name, String password) {
        return login(name, password).at("body", "loginReply", "user", "general", "userID");
    }

    static String exercise(String term, String lang, String voice, String supplier) {
        return "<exercise><manifest localManifestID=\"4\" persistentManifestID=\"0\""
                + (supplier == null ? "" : " suppliedByUserID=\"" + supplier + "\"") + "/>"
                + "<textual_manifest learnerLevelID=\"2\"><langID>" + lang + "</langID></textual_manifest>"
                + "<term><manifest localManifestID=\"5\"/><textual_manifest><manifestValue><![CDATA[" + term
                + "]]></manifestValue><langID>" + lang + "</langID></textual_manifest></term>"
                + "<media><manifest localManifestID=\"6\"/><media_manifest fluencyLevelID=\"3\">"
                + "<mediaManifestFileName>rec.wav</mediaManifestFileName><voice>" + voice + "</voice><langID>" + lang
                + "</langID></media_manifest></media><kvps><kvp kvpTypeID=\"1\"><kvpValue><![CDATA[ctx " + term
                + "]]></kvpValue><langID>eng</langID></kvp></kvps></exercise>";
    }

    static String lesson(String title, String description, String lang, String... exercisePmids) {
        StringBuilder members = new StringBuilder();
        for (int i = 0; i < exercisePmids.length; i++) {
            members.append("<exercise sequenceNb=\"").append(i + 1).append("\" persistentManifestID=\"")
                    .append(exercisePmids[i]).append("\"/>");
        }
        return "<lesson numChildren=\"" + exercisePmids.length + "\"><manifest localManifestID=\"9\"/>"
                + "<textual_manifest learnerLevelID=\"1\"><manifestTitle><![CDATA[" + title + "]]></manifestTitle>"
                + "<manifestDescription><![CDATA[" + description + "]]></manifestDescription><langID>" + lang
                + "</langID></textual_manifest><exercises>" + members + "</exercises><kvps/></lesson>";
    }

    /** Uploads an exercise without sound as that user; its persistent id. */
    String uploadExercise(String user, String term, String lang, String voice) {
        Answer a = send(user, "uploadExercise", exercise(term, lang, voice, null));
        Check.equal("1", a.status(), "upload of " + term + ": " + a.text);
        return Xml.attr(a.element("body", "uploadExerciseReply", "exercise"), "persistentManifestID");
    }

    Map<String, Integer> counts() throws Exception {
        Map<String, Integer> c = new LinkedHashMap<>();
        for (String table : new String[] {"users", "fluencies", "feedback", "reminders", "exercises", "lessons",
            "translations"}) {
            c.put(table, peer.store().count(table));
        }
        return c;
    }

    @Override
    public void close() throws IOException {
        peer.stop();
        deleteTree(dir);
    }

    static void deleteTree(Path root) throws IOException {
        if (!Files.exists(root)) {
            return;
        }
        try (Stream<Path> all = Files.walk(root)) {
            for (Path p : (Iterable<Path>) all.sorted(Comparator.reverseOrder())::iterator) {
                Files.deleteIfExists(p);
            }
        }
    }
}
