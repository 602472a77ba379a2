package com.vireda;

import java.net.InetAddress;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.List;
import java.util.regex.Pattern;

import javax.net.ssl.SSLSocketFactory;

import org.w3c.dom.Document;
import org.w3c.dom.Element;

import com.vireda.client.ClientSettings;
import com.vireda.client.PeerLink;
import com.vireda.client.PinnedTrust;
import com.vireda.client.Transfer;
import com.vireda.client.Transfers;
import com.vireda.peer.PeerService;
import com.vireda.xml.Envelope;
import com.vireda.xml.Xml;

/**
 * The peer-network client called through the bridge. It carries messages to a
 * peer service over HTTP: one named by VIREDA_PEER or vireda-peer.properties,
 * or else one it runs itself on 127.0.0.1. No method throws: failures give
 * the method's failure value. Nothing is written to standard output.
 */
public class ViredaClientNetwork {
    private static final Pattern MEDIA_NAME = Pattern.compile("[A-Za-z0-9][A-Za-z0-9._-]{0,99}");
    private static final int NOT_FOUND = -1;
    /** startViredaNet: the https: peer's certificate is not the one pinned in vireda-peer.properties. */
    public static final int PEER_CERTIFICATE_REFUSED = -6;

    private final Transfers transfers = new Transfers();
    private volatile PeerLink link;
    private volatile PeerService embedded;
    private volatile Path workingDirectory;

    public ViredaClientNetwork() {
    }

    // ---- services ----

    /** 1 when the peer service answers, PEER_CERTIFICATE_REFUSED when its certificate is not the pinned one, else 0. */
    public synchronized int startViredaNet() {
        try {
            if (link != null) {
                return 1;
            }
            ClientSettings settings = ClientSettings.load();
            workingDirectory = settings.workingDirectory;
            String url = settings.peerUrl;
            if (url == null) {
                if (embedded == null) {
                    embedded = PeerService.start(InetAddress.getLoopbackAddress(), 0, settings.dataDirectory);
                }
                url = "http://127.0.0.1:" + embedded.port();
            }
            SSLSocketFactory pinned = settings.certificate == null ? null
                    : PinnedTrust.socketFactory(settings.certificate);
            PeerLink candidate = new PeerLink(url, settings.timeoutMillis, pinned);
            if (!candidate.ping()) {
                return pinned != null && PinnedTrust.refusedBy(url, pinned, settings.timeoutMillis)
                        ? PEER_CERTIFICATE_REFUSED : 0;
            }
            link = candidate;
            return 1;
        } catch (Throwable e) {
            return 0;
        }
    }

    private int serviceState() {
        return link != null ? 1 : 0;
    }

    /** Sign-out and shut-down wait at most this long for the peer to end the session. */
    static final int END_SESSION_MILLIS = 2000;

    /**
     * Ends the session of the signed-in user: 1 ended, 0 none held, -1 the peer did not answer.
     * Downloads still running are cancelled first, signed in or not.
     */
    public int endSession() {
        try {
            transfers.cancelDownloads();
            PeerLink l = link;
            if (l == null || !l.hasSession()) {
                return 0;
            }
            return l.endSession(Envelope.request("logout"), END_SESSION_MILLIS) ? 1 : -1;
        } catch (Throwable e) {
            return -1;
        }
    }

    public int startMessagingService() {
        return serviceState();
    }

    public int startQueryService() {
        return serviceState();
    }

    public int startDownloadService() {
        return serviceState();
    }

    public int startUploadService() {
        return serviceState();
    }

    // ---- messages ----

    /** The peer's reply; null when the network is not started or no reply came in time. */
    public String sendMessage(String xml) {
        try {
            PeerLink l = link;
            return l == null || xml == null ? null : l.postMessage(xml);
        } catch (Throwable e) {
            return null;
        }
    }

    public String sendQuery(String xml) {
        return sendMessage(xml);
    }

    // ---- uploads ----

    private Path contentDirectory() {
        Path work = workingDirectory != null ? workingDirectory : ClientSettings.workingDirectory();
        return work.resolve("Content");
    }

    /** A sound named as the program names it: absolute, in Content, or relative to the working directory. */
    private Path soundFile(String name) {
        Path p = Path.of(name);
        if (p.isAbsolute()) {
            return p;
        }
        Path inContent = contentDirectory().resolve(p);
        if (Files.isRegularFile(inContent)) {
            return inContent;
        }
        return contentDirectory().getParent().resolve(p);
    }

    /** An exercise message with its sound file (the first path); a handle, or -1. */
    public int upload(String xml, String[] paths) {
        try {
            PeerLink l = link;
            if (l == null || xml == null) {
                return -1;
            }
            String first = null;
            if (paths != null) {
                for (String p : paths) {
                    if (p != null && !p.isEmpty()) {
                        first = p;
                        break;
                    }
                }
            }
            final String soundName = first;
            return transfers.start(Transfer.Kind.UPLOAD, t -> {
                if (soundName == null) {
                    finishUpload(t, l.postMessage(xml));
                    return;
                }
                Path sound = soundFile(soundName);
                if (!Files.isRegularFile(sound)) {
                    t.setReply(Envelope.error("uploadExerciseReply", "uploadExerciseReply", "-1",
                            "The sound file was not found: " + soundName));
                    t.finish();
                    return;
                }
                try {
                    finishUpload(t, l.postUpload(xml, sound));
                } catch (java.io.IOException e) {
                    t.setReply(Envelope.error("uploadExerciseReply", "uploadExerciseReply", "-1",
                            "The sound file could not be read: " + soundName));
                    t.finish();
                }
            }).handle;
        } catch (Throwable e) {
            return -1;
        }
    }

    /** A message without files: a lesson, a translation or an exercise without sound. */
    public int uploadManifest(String xml, String kind) {
        try {
            PeerLink l = link;
            if (l == null || xml == null) {
                return -1;
            }
            return transfers.start(Transfer.Kind.UPLOAD, t -> finishUpload(t, l.postMessage(xml))).handle;
        } catch (Throwable e) {
            return -1;
        }
    }

    /** With no reply the upload stays not done, so the caller's wait runs out. */
    private static void finishUpload(Transfer t, String reply) {
        if (reply == null) {
            t.fail();
            return;
        }
        t.setReply(reply);
        t.finish();
    }

    private Transfer uploadOf(int handle) {
        Transfer t = transfers.find(handle);
        return t != null && t.kind == Transfer.Kind.UPLOAD ? t : null;
    }

    public int getUploadStatus(int handle) {
        Transfer t = uploadOf(handle);
        return t == null ? NOT_FOUND : t.status();
    }

    public int isUploadXMLDone(int handle) {
        Transfer t = uploadOf(handle);
        return t != null && t.done() ? 1 : 0;
    }

    public String getUploadReply(int handle) {
        Transfer t = uploadOf(handle);
        return t == null ? null : t.reply();
    }

    public int cancelUpload(int handle) {
        Transfer t = uploadOf(handle);
        if (t == null) {
            return NOT_FOUND;
        }
        t.cancel();
        return 1;
    }

    // ---- downloads ----

    /** Starts fetching an exercise: its document, its sound into Content, its translations. */
    public int downloadExercise(String persistentId) {
        return startDownload(persistentId, false);
    }

    /** kind "exercise" (as downloadExercise) or "lesson" (the lesson's document only). */
    public int downloadManifest(String persistentId, String kind) {
        if (kind == null) {
            return -1;
        }
        if (kind.equalsIgnoreCase("exercise")) {
            return startDownload(persistentId, false);
        }
        if (kind.equalsIgnoreCase("lesson")) {
            return startDownload(persistentId, true);
        }
        return -1;
    }

    private int startDownload(String persistentId, boolean lesson) {
        try {
            PeerLink l = link;
            if (l == null || persistentId == null || persistentId.isBlank()) {
                return -1;
            }
            String pmid = persistentId.trim();
            return transfers.start(lesson ? Transfer.Kind.LESSON : Transfer.Kind.EXERCISE,
                    t -> runDownload(l, t, pmid, lesson)).handle;
        } catch (Throwable e) {
            return -1;
        }
    }

    private void runDownload(PeerLink l, Transfer t, String pmid, boolean lesson) {
        String reply = l.postMessage(Envelope.request(lesson ? "downloadLesson" : "downloadExercise",
                "persistentManifestID", pmid));
        if (reply == null || t.cancelled()) {
            t.fail();
            return;
        }
        if (reply.equals(PeerLink.REPLY_TOO_LARGE)) {
            t.refuse();
            return;
        }
        t.setReply(reply);
        Document doc = Xml.parse(reply);
        Element root = doc == null ? null : doc.getDocumentElement();
        if (root == null || !Xml.text(root, "header", "status").equals("1")) {
            t.fail();
            return;
        }
        if (lesson) {
            t.finish();
            return;
        }
        t.progress(10);
        Element exercise = Xml.at(root, "body", "downloadExerciseReply", "exercise");
        Element mediaManifest = Xml.at(exercise, "media", "media_manifest");
        String media = mediaNameOf(exercise);
        // Refused before its sound is fetched: nothing of it is kept.
        if (media == null || PeerLink.fieldCount(exercise) > PeerLink.MAX_FIELDS_PER_EXERCISE) {
            t.refuse();
            return;
        }
        Path fetchedSound = null;
        try {
            if (!media.isEmpty()) {
                PeerLink.Fetched fetched = l.fetchMedia(media, contentDirectory(), p -> t.progress(10 + p * 80 / 100),
                        t);
                if (fetched.outcome != PeerLink.Outcome.STORED) {
                    if (fetched.outcome == PeerLink.Outcome.REFUSED) {
                        t.refuse();
                    } else {
                        t.fail();
                    }
                    return;
                }
                fetchedSound = contentDirectory().resolve(fetched.name);
                if (!fetched.name.equals(media)) {
                    // The name was taken: the document names the sound as it was stored.
                    Xml.setText(Xml.child(mediaManifest, "mediaManifestFileName"), fetched.name);
                    t.setReply(Xml.serialize(doc));
                }
            }
            t.progress(90);
            String translations = l.postMessage(Envelope.request("downloadTranslation", "persistentManifestID", pmid));
            if (translations == null) {
                t.fail();
                return;
            }
            if (translations.equals(PeerLink.REPLY_TOO_LARGE)) {
                t.refuse();
                return;
            }
            t.setTranslations(translations);
            t.finish();
        } finally {
            // A download that did not end done (refused, failed or cancelled) keeps nothing it fetched.
            if (fetchedSound != null && !(t.done() && t.status() == 100)) {
                try {
                    Files.deleteIfExists(fetchedSound);
                } catch (java.io.IOException | RuntimeException ignored) {
                    // the program's side removes it with the refused download
                }
            }
        }
    }

    /**
     * The name of an exercise's sound: empty when it has none, null when it
     * cannot be fetched safely (named twice, in an attribute, or not a plain name).
     */
    static String mediaNameOf(Element exercise) {
        List<Element> media = Xml.children(exercise, "media");
        if (media.isEmpty()) {
            return "";
        }
        List<Element> manifests = media.size() == 1 ? Xml.children(media.get(0), "media_manifest") : List.of();
        if (manifests.size() != 1) {
            return null;
        }
        Element manifest = manifests.get(0);
        List<Element> names = Xml.children(manifest, "mediaManifestFileName");
        if (names.size() != 1 || Xml.firstChild(names.get(0)) != null) {
            return null;
        }
        for (int i = 0; i < manifest.getAttributes().getLength(); i++) {
            if (manifest.getAttributes().item(i).getNodeName().equalsIgnoreCase("mediaManifestFileName")) {
                return null;
            }
        }
        String name = names.get(0).getTextContent().trim();
        return MEDIA_NAME.matcher(name).matches() && !name.contains("..") ? name : null;
    }

    private Transfer downloadOf(int handle) {
        Transfer t = transfers.find(handle);
        return t != null && t.kind != Transfer.Kind.UPLOAD ? t : null;
    }

    /** 0 to 100 (100: everything is here), -1 when failed, cancelled or unknown, -2 when refused for its content. */
    public int getDownloadStatus(int handle) {
        Transfer t = downloadOf(handle);
        return t == null ? NOT_FOUND : t.status();
    }

    /** 1 when done, 0 while running, -1 when failed, cancelled or unknown, -2 when refused for its content. */
    public int isDownloadXmlDone(int handle) {
        Transfer t = downloadOf(handle);
        if (t == null) {
            return NOT_FOUND;
        }
        int status = t.status();
        return t.done() ? 1 : (status == Transfer.REFUSED ? status : (status < 0 ? NOT_FOUND : 0));
    }

    /** The downloaded document (also a refusal from the peer); null while none has arrived. */
    public String getDownloadXML(int handle) {
        Transfer t = downloadOf(handle);
        return t == null ? null : t.reply();
    }

    /** The exercise's translation document; null until it has arrived. */
    public String getTranslationXML(int handle) {
        Transfer t = downloadOf(handle);
        return t == null ? null : t.translations();
    }

    public int cancelDownload(int handle) {
        Transfer t = downloadOf(handle);
        if (t == null) {
            return NOT_FOUND;
        }
        t.cancel();
        return 1;
    }

    /** The port of the peer service this client runs itself; -1 when it uses another. */
    public int embeddedPort() {
        PeerService p = embedded;
        return p == null ? -1 : p.port();
    }
}
