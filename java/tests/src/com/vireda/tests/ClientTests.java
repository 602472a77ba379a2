package com.vireda.tests;

import java.io.IOException;
import java.io.OutputStream;
import java.net.InetAddress;
import java.net.InetSocketAddress;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.HashSet;
import java.util.List;
import java.util.Map;
import java.util.Set;
import java.util.function.IntSupplier;
import java.util.stream.Collectors;

import org.w3c.dom.Document;
import org.w3c.dom.Element;

import com.sun.net.httpserver.HttpServer;
import com.vireda.ViredaClientNetwork;
import com.vireda.xml.Xml;

/** The client as the bridge calls it: services, messages, transfers and their failure values. */
final class ClientTests {
    private ClientTests() {
    }

    static Object[][] cases() {
        return new Object[][] {
            {"failureValuesBeforeStart", (PeerTests.Case) ClientTests::failureValuesBeforeStart},
            {"unreachablePeerDoesNotStart", (PeerTests.Case) ClientTests::unreachablePeerDoesNotStart},
            {"silentPeerTimesOut", (PeerTests.Case) ClientTests::silentPeerTimesOut},
            {"configuredPeerIsUsed", (PeerTests.Case) ClientTests::configuredPeerIsUsed},
            {"standAlonePeerServes", (PeerTests.Case) ClientTests::standAlonePeerServes},
            {"standAlonePeerOnTheNetworkSpeaksHttps", (PeerTests.Case) ClientTests::standAlonePeerOnTheNetworkSpeaksHttps},
            {"uploadThenDownloadWithSoundAndTranslation",
                (PeerTests.Case) ClientTests::uploadThenDownloadWithSoundAndTranslation},
            {"failedTransfers", (PeerTests.Case) ClientTests::failedTransfers},
            {"hostilePeerIsBounded", (PeerTests.Case) ClientTests::hostilePeerIsBounded},
            {"hostilePeerAtScale", (PeerTests.Case) ClientTests::hostilePeerAtScale},
            {"peerKeepsOnlySounds", (PeerTests.Case) SoundRuleTests::peerKeepsOnlySounds},
        };
    }

    /** A fresh working directory with an optional settings file; the client started in it. */
    static ViredaClientNetwork startIn(Path dir, String settings, int expected) throws Exception {
        Files.createDirectories(dir.resolve("Content"));
        if (settings != null) {
            Files.writeString(dir.resolve("vireda-peer.properties"), settings);
        }
        System.setProperty("vireda.workdir", dir.toString());
        ViredaClientNetwork client = new ViredaClientNetwork();
        Check.equal(expected, client.startViredaNet(), "start in " + dir);
        int[] services = {client.startMessagingService(), client.startQueryService(), client.startDownloadService(),
            client.startUploadService()};
        for (int s : services) {
            Check.equal(expected, s, "service start");
        }
        return client;
    }

    static boolean waitFor(IntSupplier value, int wanted) throws InterruptedException {
        for (int i = 0; i < 500; i++) {
            int v = value.getAsInt();
            if (v == wanted) {
                return true;
            }
            if (v < 0) {
                return false;
            }
            Thread.sleep(20);
        }
        return false;
    }

    static Element reply(String text) {
        Document d = Xml.parse(text);
        Check.isTrue(d != null, "reply is XML: " + text);
        return d.getDocumentElement();
    }

    static void failureValuesBeforeStart() {
        ViredaClientNetwork c = new ViredaClientNetwork();
        Object[][] rows = {
            {"sendMessage", c.sendMessage("<m/>"), null},
            {"sendQuery", c.sendQuery("<m/>"), null},
            {"upload", c.upload("<m/>", new String[] {"a.wav"}), -1},
            {"uploadManifest", c.uploadManifest("<m/>", "lesson"), -1},
            {"downloadExercise", c.downloadExercise("p"), -1},
            {"downloadManifest", c.downloadManifest("p", "lesson"), -1},
            {"getDownloadStatus", c.getDownloadStatus(987654), -1},
            {"isDownloadXmlDone", c.isDownloadXmlDone(987654), -1},
            {"getDownloadXML", c.getDownloadXML(987654), null},
            {"getTranslationXML", c.getTranslationXML(987654), null},
            {"cancelDownload", c.cancelDownload(987654), -1},
            {"isUploadXMLDone", c.isUploadXMLDone(987654), 0},
            {"getUploadStatus", c.getUploadStatus(987654), -1},
            {"getUploadReply", c.getUploadReply(987654), null},
            {"startMessagingService", c.startMessagingService(), 0},
            {"startUploadService", c.startUploadService(), 0},
            {"endSession", c.endSession(), 0},
        };
        for (Object[] r : rows) {
            Check.equal(r[2], r[1], (String) r[0]);
        }
    }

    static void unreachablePeerDoesNotStart() throws Exception {
        Path dir = Files.createTempDirectory("vireda-client");
        try {
            ViredaClientNetwork c = startIn(dir, "peer.url=http://127.0.0.1:1\npeer.timeout=2000\n", 0);
            Check.equal(null, c.sendMessage("<m/>"), "no reply");
            Check.isTrue(!Files.exists(dir.resolve("PeerData")), "no peer of its own");
        } finally {
            PeerFixture.deleteTree(dir);
        }
    }

    static void silentPeerTimesOut() throws Exception {
        Path dir = Files.createTempDirectory("vireda-client");
        HttpServer slow = HttpServer.create(new InetSocketAddress(InetAddress.getLoopbackAddress(), 0), 4);
        slow.createContext("/ping", ex -> {
            byte[] ok = "ok".getBytes(StandardCharsets.UTF_8);
            ex.sendResponseHeaders(200, ok.length);
            try (OutputStream out = ex.getResponseBody()) {
                out.write(ok);
            }
        });
        slow.createContext("/message", ex -> {
            try {
                Thread.sleep(8000);
            } catch (InterruptedException e) {
                Thread.currentThread().interrupt();
            }
            ex.close();
        });
        slow.setExecutor(java.util.concurrent.Executors.newCachedThreadPool());
        slow.start();
        try {
            ViredaClientNetwork c = startIn(dir, "peer.url=http://127.0.0.1:" + slow.getAddress().getPort()
                    + "/\npeer.timeout=2000\n", 1);
            Check.equal(null, c.sendMessage("<m/>"), "no reply in time");
            Check.equal(null, c.sendQuery("<m/>"), "no answer in time");
        } finally {
            slow.stop(0);
            PeerFixture.deleteTree(dir);
        }
    }

    static void configuredPeerIsUsed() throws Exception {
        Path dir = Files.createTempDirectory("vireda-client");
        try (PeerFixture f = new PeerFixture()) {
            ViredaClientNetwork c = startIn(dir, "peer.url=" + f.base() + "\n", 1);
            Check.equal(-1, c.embeddedPort(), "no peer of its own");
            String reply = c.sendMessage(PeerFixture.message("register",
                    "<general><username>carla_m</username><password>pw</password></general>"));
            Check.equal("1", Xml.text(reply(reply), "header", "status"), "registered");
            Check.equal(1, f.counts().get("users"), "stored by the configured peer");
        } finally {
            PeerFixture.deleteTree(dir);
        }
    }

    /** The peer run as its own program, as an operator starts it, with the heap its settings name. */
    static void standAlonePeerServes() throws Exception {
        Path dir = Files.createTempDirectory("vireda-client");
        Files.createDirectories(dir.resolve("standalone"));
        Files.writeString(dir.resolve("standalone/peer.properties"), "jvm.heapMegabytes=96\n");
        String jar = System.getProperty("java.class.path").split(java.io.File.pathSeparator)[0];
        Process peer = new ProcessBuilder(Path.of(System.getProperty("java.home"), "bin", "java").toString(), "-cp", jar,
                "com.vireda.peer.PeerService", "--port", "0", "--data", dir.resolve("standalone").toString())
                .redirectErrorStream(true).start();
        try (java.io.BufferedReader out = new java.io.BufferedReader(
                new java.io.InputStreamReader(peer.getInputStream(), StandardCharsets.UTF_8))) {
            String line = out.readLine();
            Check.isTrue(line != null && line.startsWith("Peer service listening on 127.0.0.1:"), "started: " + line);
            String port = line.substring(line.lastIndexOf(':') + 1);
            ViredaClientNetwork c = startIn(dir.resolve("work"), "peer.url=http://127.0.0.1:" + port + "\n", 1);
            String reply = c.sendMessage(PeerFixture.message("register",
                    "<general><username>dana_k</username><password>pw</password></general>"));
            Check.equal("1", Xml.text(reply(reply), "header", "status"), "registered with the stand-alone peer");
            Check.isTrue(Files.exists(dir.resolve("standalone/peer.db")), "data in the folder given");
            List<ProcessHandle> service = peer.descendants().filter(p -> p.info().arguments()
                    .map(a -> List.of(a).contains("-Xmx96m")).orElse(false)).collect(Collectors.toList());
            Check.equal(1, service.size(), "serves from a machine with the heap named");
            // Killed without a chance to clean up, it still takes its service with it.
            peer.destroyForcibly();
            Check.isTrue(service.get(0).onExit().get(20, java.util.concurrent.TimeUnit.SECONDS) != null,
                    "the service ends with it");
        } finally {
            peer.destroyForcibly();
            peer.waitFor();
            PeerFixture.deleteTree(dir);
        }
    }

    static Process startPeer(Path data, String... more) throws IOException {
        String jar = System.getProperty("java.class.path").split(java.io.File.pathSeparator)[0];
        List<String> command = new java.util.ArrayList<>(List.of(
                Path.of(System.getProperty("java.home"), "bin", "java").toString(), "-cp", jar,
                "com.vireda.peer.PeerService", "--port", "0", "--data", data.toString()));
        command.addAll(List.of(more));
        return new ProcessBuilder(command).redirectErrorStream(true).start();
    }

    static void keytool(String... args) throws Exception {
        List<String> command = new java.util.ArrayList<>();
        command.add(Path.of(System.getProperty("java.home"), "bin", "keytool").toString());
        command.addAll(List.of(args));
        Process p = new ProcessBuilder(command).redirectErrorStream(true).start();
        String out = new String(p.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
        Check.equal(0, p.waitFor(), "keytool: " + out);
    }

    /**
     * On an address other than loopback the stand-alone peer starts only with HTTPS or when
     * told to send in clear text; the client reaches it with its one pinned certificate.
     */
    static void standAlonePeerOnTheNetworkSpeaksHttps() throws Exception {
        Path dir = Files.createTempDirectory("vireda-client");
        try {
            Process refused = startPeer(dir.resolve("plain"), "--bind", "0.0.0.0");
            String said = new String(refused.getInputStream().readAllBytes(), StandardCharsets.UTF_8);
            Check.equal(2, refused.waitFor(), "no start without HTTPS: " + said);
            Check.isTrue(said.contains("--plain-http") && said.contains("tls.keyStore"), "told what to do: " + said);

            Process plain = startPeer(dir.resolve("plain"), "--bind", "0.0.0.0", "--plain-http");
            try (java.io.BufferedReader out = new java.io.BufferedReader(
                    new java.io.InputStreamReader(plain.getInputStream(), StandardCharsets.UTF_8))) {
                String warning = out.readLine();
                Check.isTrue(warning != null && warning.startsWith("WARNING: plain HTTP"), "warned: " + warning);
                String line = out.readLine();
                Check.isTrue(line != null && line.startsWith("Peer service listening on 0.0.0.0:"), "plain: " + line);
            } finally {
                plain.destroy();
                plain.waitFor();
            }

            // A self-signed certificate made now; the peer's key stays in its data folder.
            Path data = dir.resolve("tls");
            Files.createDirectories(data);
            keytool("-genkeypair", "-alias", "peer", "-keyalg", "RSA", "-keysize", "2048", "-validity", "2",
                    "-dname", "CN=vireda-test-peer", "-ext", "SAN=ip:127.0.0.1", "-storetype", "PKCS12",
                    "-keystore", data.resolve("peer.p12").toString(), "-storepass", "secret-1", "-keypass", "secret-1");
            Path work = dir.resolve("work");
            Files.createDirectories(work);
            keytool("-exportcert", "-rfc", "-alias", "peer", "-keystore", data.resolve("peer.p12").toString(),
                    "-storepass", "secret-1", "-file", work.resolve("peer.pem").toString());
            Files.writeString(data.resolve("peer.properties"),
                    "tls.keyStore=peer.p12\ntls.keyStorePassword=secret-1\n");
            Process peer = startPeer(data, "--bind", "0.0.0.0");
            try (java.io.BufferedReader out = new java.io.BufferedReader(
                    new java.io.InputStreamReader(peer.getInputStream(), StandardCharsets.UTF_8))) {
                String line = out.readLine();
                Check.isTrue(line != null && line.startsWith("Peer service listening on https://0.0.0.0:"),
                        "started: " + line);
                String port = line.substring(line.lastIndexOf(':') + 1);

                // Without the pinned certificate the self-signed peer is not trusted.
                startIn(dir.resolve("untrusting"), "peer.url=https://127.0.0.1:" + port + "\n", 0);
                // Plain HTTP to the HTTPS port gets nowhere either.
                startIn(dir.resolve("plainclient"), "peer.url=http://127.0.0.1:" + port + "\n", 0);
                // A pinned certificate other than the peer's is told apart from a peer out of reach.
                Path otherKeys = dir.resolve("otherkeys");
                Files.createDirectories(otherKeys);
                keytool("-genkeypair", "-alias", "other", "-keyalg", "RSA", "-keysize", "2048", "-validity", "2",
                        "-dname", "CN=vireda-other-peer", "-ext", "SAN=ip:127.0.0.1", "-storetype", "PKCS12",
                        "-keystore", otherKeys.resolve("other.p12").toString(), "-storepass", "secret-2",
                        "-keypass", "secret-2");
                Path wrongPin = dir.resolve("wrongpin");
                Files.createDirectories(wrongPin.resolve("Content"));
                keytool("-exportcert", "-rfc", "-alias", "other", "-keystore",
                        otherKeys.resolve("other.p12").toString(), "-storepass", "secret-2", "-file",
                        wrongPin.resolve("other.pem").toString());
                Files.writeString(wrongPin.resolve("vireda-peer.properties"),
                        "peer.url=https://127.0.0.1:" + port + "\npeer.certificate=other.pem\n");
                System.setProperty("vireda.workdir", wrongPin.toString());
                ViredaClientNetwork refusedPin = new ViredaClientNetwork();
                Check.equal(ViredaClientNetwork.PEER_CERTIFICATE_REFUSED, refusedPin.startViredaNet(),
                        "wrong pinned certificate");
                Check.equal(0, refusedPin.startMessagingService(), "no service with the wrong certificate");

                ViredaClientNetwork c = startIn(work, "peer.url=https://127.0.0.1:" + port
                        + "\npeer.certificate=peer.pem\n", 1);
                Check.equal("1", Xml.text(reply(c.sendMessage(PeerFixture.message("register",
                        "<general><username>erin_t</username><password>pw</password></general>"))), "header", "status"),
                        "registered over HTTPS");
                Check.equal("1", Xml.text(reply(c.sendMessage(PeerFixture.message("login",
                        "<username>erin_t</username><password>pw</password>"))), "header", "status"),
                        "signed in over HTTPS");
                byte[] sound = new byte[40_000];
                for (int i = 0; i < sound.length; i++) {
                    sound[i] = (byte) (i * 7);
                }
                // Only WAV sounds are kept: 8-bit samples are any bytes.
                System.arraycopy(HostilePeer.wavHeader(sound.length - 44), 0, sound, 0, 44);
                Files.write(work.resolve("Content/rec.wav"), sound);
                int up = c.upload(PeerFixture.message("uploadExercise", PeerFixture.exercise("gato", "spa", "Erin",
                        null)), new String[] {"rec.wav"});
                Check.isTrue(waitFor(() -> c.isUploadXMLDone(up), 1), "upload done");
                Element upReply = reply(c.getUploadReply(up));
                Check.equal("1", Xml.text(upReply, "header", "status"), "uploaded over HTTPS");
                String cat = Xml.attr(Xml.at(upReply, "body", "uploadExerciseReply", "exercise"),
                        "persistentManifestID");
                Element found = reply(c.sendMessage(PeerFixture.message("exerciseQuery",
                        "<term>gato</term><query_langID>spa</query_langID>")));
                Check.equal(1, Xml.children(Xml.at(found, "body", "exerciseQueryReply"), "exercise").size(),
                        "found over HTTPS");
                Files.delete(work.resolve("Content/rec.wav"));
                int down = c.downloadExercise(cat);
                Check.isTrue(waitFor(() -> c.getDownloadStatus(down), 100), "download finished");
                Element ex = Xml.at(reply(c.getDownloadXML(down)), "body", "downloadExerciseReply", "exercise");
                String stored = Xml.text(ex, "media", "media_manifest", "mediaManifestFileName");
                Check.isTrue(java.util.Arrays.equals(sound, Files.readAllBytes(work.resolve("Content").resolve(stored))),
                        "sound fetched over HTTPS");
            } finally {
                peer.destroy();
                peer.waitFor();
            }
        } finally {
            PeerFixture.deleteTree(dir);
        }
    }

    static void uploadThenDownloadWithSoundAndTranslation() throws Exception {
        Path dir = Files.createTempDirectory("vireda-client");
        try {
            ViredaClientNetwork c = startIn(dir, null, 1);
            Check.isTrue(c.embeddedPort() > 0, "runs its own peer");
            Check.isTrue(Files.isDirectory(dir.resolve("PeerData")), "peer data under the working directory");
            c.sendMessage(PeerFixture.message("register", "<general><username>ann_lee</username><password>pw</password>"
                    + "</general>"));
            Element login = reply(c.sendMessage(PeerFixture.message("login",
                    "<username>ann_lee</username><password>pw</password>")));
            Check.equal("1", Xml.text(login, "header", "status"), "login");

            byte[] sound = new byte[123_457];
            for (int i = 0; i < sound.length; i++) {
                sound[i] = (byte) (i * 31 + (i >> 9));
            }
            // Only WAV sounds are kept: 8-bit samples are any bytes.
            System.arraycopy(HostilePeer.wavHeader(sound.length - 44), 0, sound, 0, 44);
            Files.write(dir.resolve("Content/rec.wav"), sound);
            Set<Integer> handles = new HashSet<>();
            int up = c.upload(PeerFixture.message("uploadExercise", PeerFixture.exercise("perro", "spa", "Ann", null)),
                    new String[] {"rec.wav"});
            handles.add(up);
            Check.isTrue(waitFor(() -> c.isUploadXMLDone(up), 1), "sound upload done");
            Check.equal(100, c.getUploadStatus(up), "upload status");
            Element upReply = reply(c.getUploadReply(up));
            Check.equal("1", Xml.text(upReply, "header", "status"), "sound upload: " + c.getUploadReply(up));
            String dog = Xml.attr(Xml.at(upReply, "body", "uploadExerciseReply", "exercise"), "persistentManifestID");
            Check.isTrue(!Xml.attr(Xml.at(upReply, "body", "uploadExerciseReply", "media"), "persistentManifestID")
                    .isEmpty(), "media id");

            int up2 = c.uploadManifest(PeerFixture.message("uploadExercise",
                    PeerFixture.exercise("dog", "eng", "Ann", null)), "exerciseWithoutSound");
            handles.add(up2);
            Check.isTrue(waitFor(() -> c.isUploadXMLDone(up2), 1), "second upload done");
            String dogEn = Xml.attr(Xml.at(reply(c.getUploadReply(up2)), "body", "uploadExerciseReply", "exercise"),
                    "persistentManifestID");

            int up3 = c.uploadManifest(PeerFixture.message("uploadTranslation", "<translation><manifest/>"
                    + "<textual_manifest learnerLevelID=\"1\"><manifestTitle>t</manifestTitle><langID>eng</langID>"
                    + "</textual_manifest><exercises><exercise persistentManifestID=\"" + dog + "\"/>"
                    + "<exercise persistentManifestID=\"" + dogEn + "\"/></exercises><kvps><kvp kvpTypeID=\"4\">"
                    + "<kvpValue>animal</kvpValue><langID>eng</langID></kvp></kvps></translation>"), "translation");
            handles.add(up3);
            Check.isTrue(waitFor(() -> c.isUploadXMLDone(up3), 1), "translation upload done");
            Check.equal("1", Xml.text(reply(c.getUploadReply(up3)), "header", "status"), "translation stored");

            Files.delete(dir.resolve("Content/rec.wav"));
            int down = c.downloadExercise(dog);
            handles.add(down);
            Check.isTrue(waitFor(() -> c.getDownloadStatus(down), 100), "download finished");
            Check.equal(1, c.isDownloadXmlDone(down), "download done");
            Element ex = Xml.at(reply(c.getDownloadXML(down)), "body", "downloadExerciseReply", "exercise");
            Check.equal("perro", Xml.text(ex, "term", "textual_manifest", "manifestValue"), "term");
            String stored = Xml.text(ex, "media", "media_manifest", "mediaManifestFileName");
            Check.isTrue(stored.endsWith(".wav") && !stored.equals("rec.wav"), "unique sound name " + stored);
            byte[] fetched = Files.readAllBytes(dir.resolve("Content").resolve(stored));
            Check.isTrue(java.util.Arrays.equals(sound, fetched), "sound byte-identical");
            try (var parts = Files.list(dir.resolve("Content"))) {
                Check.equal(0L, parts.filter(p -> p.toString().endsWith(".part")).count(), "no partial files");
            }

            Element tr = reply(c.getTranslationXML(down));
            Check.equal("1", Xml.text(tr, "header", "status"), "translations");
            Element group = Xml.at(tr, "body", "downloadTranslation");
            List<Element> translations = Xml.children(group, "translation");
            List<Element> others = Xml.children(group, "exercise");
            Check.equal(1, translations.size(), "one translation");
            Check.equal(1, others.size(), "its exercise");
            Check.equal("dog", Xml.text(translations.get(0), "textual_manifest", "manifestValue"), "translated term");
            Check.equal(2, Xml.children(Xml.child(translations.get(0), "exercises"), "exercise").size(), "links two");
            Check.equal("animal", Xml.attr(Xml.at(translations.get(0), "kvps", "kvp"), "kvpValue"), "context");
            Check.equal(dogEn, Xml.attr(Xml.child(others.get(0), "manifest"), "persistentManifestID"), "other term");
            Check.equal("Ann", Xml.text(others.get(0), "media", "media_manifest", "voice"), "voice");

            int again = c.downloadManifest(dog, "exercise");
            handles.add(again);
            Check.isTrue(waitFor(() -> c.isDownloadXmlDone(again), 1), "manifest download");
            Check.equal(5 + 1, handles.size() + 1, "handles unique");
            for (int h : handles) {
                Check.isTrue(h >= 0, "handle " + h);
            }

            Check.equal(1, c.endSession(), "signed out");
            Check.equal(0, c.endSession(), "no session left to end");
            int late = c.uploadManifest(PeerFixture.message("uploadExercise",
                    PeerFixture.exercise("gato", "spa", "Ann", null)), "exerciseWithoutSound");
            Check.isTrue(waitFor(() -> c.isUploadXMLDone(late), 1), "answered after sign-out");
            Check.equal("-1", Xml.text(reply(c.getUploadReply(late)), "header", "status"), "the session ended");
        } finally {
            PeerFixture.deleteTree(dir);
        }
    }

    static void failedTransfers() throws Exception {
        Path dir = Files.createTempDirectory("vireda-client");
        try {
            ViredaClientNetwork c = startIn(dir, "peer.data=Elsewhere\n", 1);
            Check.isTrue(Files.isDirectory(dir.resolve("Elsewhere")), "data folder from the settings");
            int unknown = c.downloadExercise("no-such-id");
            Check.isTrue(!waitFor(() -> c.getDownloadStatus(unknown), 100), "unknown exercise never completes");
            Check.equal(-1, c.getDownloadStatus(unknown), "failed status");
            Check.equal(-1, c.isDownloadXmlDone(unknown), "failed manifest");
            Check.equal("-1", Xml.text(reply(c.getDownloadXML(unknown)), "header", "status"), "peer's refusal");
            Check.equal(null, c.getTranslationXML(unknown), "no translations");
            Check.equal(-1, c.downloadManifest("x", "video"), "unknown kind");

            int missing = c.upload(PeerFixture.message("uploadExercise", PeerFixture.exercise("a", "spa", "v", null)),
                    new String[] {"missing.wav"});
            Check.isTrue(waitFor(() -> c.isUploadXMLDone(missing), 1), "answered at once");
            Element r = reply(c.getUploadReply(missing));
            Check.equal("-1", Xml.text(r, "header", "status"), "missing sound refused");
            Check.isTrue(Xml.text(r, "body", "uploadExerciseReply", "error_description").contains("missing.wav"),
                    "names the file");

            int notSignedIn = c.uploadManifest(PeerFixture.message("uploadLesson", "<lesson/>"), "lesson");
            Check.isTrue(waitFor(() -> c.isUploadXMLDone(notSignedIn), 1), "refusal is an answer");
            Check.equal("-1", Xml.text(reply(c.getUploadReply(notSignedIn)), "header", "status"), "no session");
            Check.equal(-1, c.getDownloadStatus(notSignedIn), "an upload handle is not a download");
        } finally {
            PeerFixture.deleteTree(dir);
        }
    }

    /** Names in Content that are not complete files: partial downloads. */
    /** Each file of Content with its bytes (as hex text). */
    static Map<String, String> contentOf(Path content) throws Exception {
        Map<String, String> files = new java.util.TreeMap<>();
        try (var list = Files.list(content)) {
            for (Path p : list.toList()) {
                files.put(p.getFileName().toString(), java.util.HexFormat.of().formatHex(Files.readAllBytes(p)));
            }
        }
        return files;
    }

    static List<String> partialFiles(Path content) throws Exception {
        try (var files = Files.list(content)) {
            return files.map(p -> p.getFileName().toString()).filter(n -> n.endsWith(".part")).toList();
        }
    }

    /** Waits (bounded) until the download's status is at least wanted or below zero; the status. */
    static int settle(ViredaClientNetwork c, int handle, int wanted) throws InterruptedException {
        int status = c.getDownloadStatus(handle);
        for (int i = 0; i < 1500 && status >= 0 && status < wanted; i++) {
            Thread.sleep(20);
            status = c.getDownloadStatus(handle);
        }
        return status;
    }

    static final byte[] LEARNERS_RECORDING = "the learner's own recording".getBytes(StandardCharsets.UTF_8);

    /** A client started in dir on the hostile peer, with the learner's own recording "learner_1.wav" in Content. */
    static ViredaClientNetwork startOnHostilePeer(Path dir, HostilePeer peer) throws Exception {
        ViredaClientNetwork c = startIn(dir, "peer.url=" + peer.base() + "\npeer.timeout=5000\n", 1);
        Files.write(dir.resolve("Content").resolve("learner_1.wav"), LEARNERS_RECORDING);
        return c;
    }

    /** Starts the download whose sound stalls and waits (bounded) until its partial file is there; its handle. */
    static int stalledDownload(ViredaClientNetwork c, Path content) throws Exception {
        int stalled = c.downloadExercise("stall");
        for (int i = 0; i < 500 && partialFiles(content).isEmpty(); i++) {
            Thread.sleep(10);
        }
        Check.equal(1, partialFiles(content).size(), "the stalled sound is arriving");
        return stalled;
    }

    /** The most a TCP connection's receive and send buffers may hold here (Linux's limits, or 64 MiB). Read by
     * line: /proc files give no size. */
    static long socketBufferBytes() {
        long total = 0;
        for (String name : new String[] {"tcp_rmem", "tcp_wmem"}) {
            try {
                String[] values = Files.readAllLines(Path.of("/proc/sys/net/ipv4", name)).get(0).trim().split("\\s+");
                total += Long.parseLong(values[values.length - 1]);
            } catch (IOException | RuntimeException e) {
                return 64L << 20;
            }
        }
        return total;
    }

    static int occurrences(String text, String part) {
        int n = 0;
        for (int at = text == null ? -1 : text.indexOf(part); at >= 0; at = text.indexOf(part, at + part.length())) {
            n++;
        }
        return n;
    }

    /**
     * At scale: 10^5 results or lesson members fit the byte limit and come up as sent (the program counts
     * them); a reply streaming or claiming hundreds of MB and an endless sound are cut at their limit while
     * they arrive, never read whole; sign-out cancels a stalled download and removes its partial file.
     */
    static void hostilePeerAtScale() throws Exception {
        Path dir = Files.createTempDirectory("vireda-client");
        try (HostilePeer peer = new HostilePeer()) {
            ViredaClientNetwork c = startOnHostilePeer(dir, peer);
            Path content = dir.resolve("Content");
            byte[] mine = LEARNERS_RECORDING;
            String query = "<message><header><type>%sQuery</type></header><body><%sQuery><term>%s</term></%sQuery>"
                    + "</body></message>";

            Check.equal(HostilePeer.MANY, occurrences(c.sendQuery(String.format(query, "exercise", "exercise",
                    "manyResults", "exercise")), "<exercise>"), "10^5 results come up as sent");
            Check.equal(HostilePeer.MANY, occurrences(c.sendQuery(String.format(query, "lesson", "lesson",
                    "manyMembers", "lesson")), "<exercise sequenceNb="), "10^5 members come up as sent");

            // What the peer wrote may still sit in the sockets' buffers when the client stops.
            long slack = socketBufferBytes() + (8L << 20);
            Object[][] rows = {
                {"a reply streamed without end", "endless reply"},
                {"a reply claiming 512 MB", "claimed"},
            };
            for (Object[] r : rows) {
                long before = peer.endlessBytes.get();
                Check.equal(com.vireda.client.PeerLink.REPLY_TOO_LARGE,
                        c.sendQuery(String.format(query, "exercise", "exercise", r[1], "exercise")), r[0] + " is refused");
                Check.isTrue(peer.endlessStopped(), r[0] + ": the peer was stopped");
                long sent = peer.endlessBytes.get() - before;
                Check.isTrue(sent <= com.vireda.client.PeerLink.MAX_REPLY_BYTES + slack,
                        r[0] + " is refused while it arrives, not read whole: " + sent + " bytes");
            }
            long before = peer.endlessBytes.get();
            Check.equal(-2, settle(c, c.downloadExercise("endless"), 100), "an endless sound is refused");
            Check.isTrue(peer.endlessStopped(), "the endless sound was stopped");
            long sent = peer.endlessBytes.get() - before;
            Check.isTrue(sent <= com.vireda.client.PeerLink.MAX_SOUND_BYTES + slack,
                    "an endless sound is cut at its limit: " + sent + " bytes");
            Check.equal(List.of(), partialFiles(content), "the endless sound leaves no partial file");

            int stalled = stalledDownload(c, content);
            c.endSession();
            Check.equal(List.of(), partialFiles(content), "sign-out cancels the download and removes its partial file");
            Check.equal(-1, c.getDownloadStatus(stalled), "the download has failed");
            Check.isTrue(java.util.Arrays.equals(mine, Files.readAllBytes(content.resolve("learner_1.wav"))),
                    "the learner's recording is untouched");
        } finally {
            PeerFixture.deleteTree(dir);
        }
    }

    static void hostilePeerIsBounded() throws Exception {
        Path dir = Files.createTempDirectory("vireda-client");
        try (HostilePeer peer = new HostilePeer()) {
            ViredaClientNetwork c = startOnHostilePeer(dir, peer);
            Path content = dir.resolve("Content");
            byte[] mine = LEARNERS_RECORDING;

            int learner = c.downloadExercise("learner");
            Check.equal(100, settle(c, learner, 100), "a sound of a taken name arrives");
            Check.isTrue(java.util.Arrays.equals(mine, Files.readAllBytes(content.resolve("learner_1.wav"))),
                    "the learner's recording is untouched");
            Check.isTrue(java.util.Arrays.equals(HostilePeer.WAV, Files.readAllBytes(content.resolve("learner_1-1.wav"))),
                    "the download has a fresh name");
            Check.equal("learner_1-1.wav", Xml.text(reply(c.getDownloadXML(learner)), "body", "downloadExerciseReply",
                    "exercise", "media", "media_manifest", "mediaManifestFileName"), "the document names the fresh name");

            // Each is refused for its content alone (-2, never a failure that takes the program offline) and
            // leaves Content exactly as it was.
            for (String kind : new String[] {"endless", "program", "huge", "attribute", "fields", "overlong",
                "bigtranslations"}) {
                Map<String, String> before = contentOf(content);
                int requests = peer.mediaRequests.get();
                int handle = c.downloadExercise(kind);
                Check.equal(-2, settle(c, handle, 100), kind + " is refused for its content");
                Check.equal(List.of(), partialFiles(content), kind + " leaves no partial file");
                Check.isTrue(!Files.exists(content.resolve(kind + ".wav")), kind + " leaves no sound");
                Check.equal(before, contentOf(content), kind + " leaves Content as it was");
                if (kind.equals("fields")) {
                    Check.equal(requests, peer.mediaRequests.get(), "too many fields: its sound is never fetched");
                }
            }
            Check.equal(5, peer.mediaRequests.get(), "names that are not plain are never fetched");
            Check.equal(com.vireda.client.PeerLink.REPLY_TOO_LARGE, c.sendQuery("<message><header><type>exerciseQuery</type></header></message>"), "a huge reply is refused");

            int stalled = stalledDownload(c, content);
            Check.equal(1, c.cancelDownload(stalled), "given up");
            Check.equal(List.of(), partialFiles(content), "giving up removes the partial file at once");
            Check.equal(-1, c.getDownloadStatus(stalled), "a cancelled download has failed");
            Check.isTrue(java.util.Arrays.equals(mine, Files.readAllBytes(content.resolve("learner_1.wav"))),
                    "the learner's recording is still untouched");
        } finally {
            PeerFixture.deleteTree(dir);
        }
    }
}
