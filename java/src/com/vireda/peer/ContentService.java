package com.vireda.peer;

import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.sql.SQLException;
import java.util.HashMap;
import java.util.HashSet;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.Set;
import java.util.UUID;
import java.util.concurrent.CountDownLatch;
import java.util.regex.Pattern;

import org.w3c.dom.Document;
import org.w3c.dom.Element;
import org.w3c.dom.NamedNodeMap;
import org.w3c.dom.Node;

import com.vireda.xml.Envelope;
import com.vireda.xml.Xml;

/** Uploads, downloads and searches of exercises, lessons and translations, and their sound files. */
public final class ContentService {
    public static final int DEFAULT_PAGE_SIZE = 20;
    public static final int MAX_PAGE_SIZE = 100;
    /** Limits of one uploaded exercise, lesson or translation, far above any real one. */
    public static final int MAX_CONTENT_DEPTH = 16;
    public static final int MAX_CONTENT_ELEMENTS = 2000;
    public static final int MAX_CONTENT_NAME = 64;
    public static final int MAX_CONTENT_CHARS = 128 * 1024;
    /** Translations one exercise may have, in all and from one user. */
    public static final int MAX_TRANSLATIONS_PER_EXERCISE = 100;
    public static final int MAX_TRANSLATIONS_PER_AUTHOR = 20;
    /** Exercises one lesson may hold, each once. */
    public static final int MAX_LESSON_MEMBERS = 500;
    private static final String MEDIA_NAME_KEY = "mediaManifestFileName";
    private static final Pattern MEDIA_NAME = Pattern.compile("[A-Za-z0-9][A-Za-z0-9._-]{0,99}");
    private static final Pattern EXTENSION = Pattern.compile("[a-z0-9]{1,8}");

    private final PeerStore store;
    private final Path mediaDirectory;
    /** Files the indexes are kept in while the service is stopped, beside the media folder. */
    public static final String EXERCISES_INDEX = "exercises.index";
    public static final String LESSONS_INDEX = "lessons.index";
    private final Path indexDirectory;
    private volatile SearchIndex exercises = new SearchIndex(PeerStore.EXERCISE_FILTERS);
    private volatile SearchIndex lessons = new SearchIndex(PeerStore.LESSON_FILTERS);
    /** Held while content is stored and indexed, so the indexes keep the store's order. */
    private final Object writes = new Object();
    /** Open once the indexes hold the stored content; searches and uploads wait for it. */
    private final CountDownLatch indexed = new CountDownLatch(1);
    private volatile Exception indexFailure;

    /**
     * The indexes are read in the background, from their files when those hold the store's
     * content up to some upload (then only what came after is read from the store), from the
     * store otherwise; the service answers everything else meanwhile.
     */
    public ContentService(PeerStore store, Path mediaDirectory) throws IOException {
        this.store = store;
        this.mediaDirectory = mediaDirectory;
        this.indexDirectory = mediaDirectory.toAbsolutePath().getParent();
        Files.createDirectories(mediaDirectory);
        Thread reader = new Thread(() -> {
            try {
                SearchIndex.Saved ex = saved(EXERCISES_INDEX, "exercises", PeerStore.EXERCISE_FILTERS);
                SearchIndex.Saved le = saved(LESSONS_INDEX, "lessons", PeerStore.LESSON_FILTERS);
                SearchIndex e = ex == null ? new SearchIndex(PeerStore.EXERCISE_FILTERS) : ex.index;
                SearchIndex l = le == null ? new SearchIndex(PeerStore.LESSON_FILTERS) : le.index;
                store.loadIndexes(e, ex == null ? 0 : ex.stamp, l, le == null ? 0 : le.stamp);
                exercises = e;
                lessons = l;
            } catch (SQLException | RuntimeException | OutOfMemoryError e) {
                indexFailure = e instanceof Exception ? (Exception) e : new IllegalStateException(e);
                System.err.println("The peer could not read its search index: " + e.getMessage());
            } finally {
                indexed.countDown();
            }
        }, "vireda-peer-index");
        reader.setDaemon(true);
        reader.start();
    }

    /** The index kept in that file when the store still holds its last entry at the row it names; else null. */
    private SearchIndex.Saved saved(String fileName, String table, String[] filters) throws SQLException {
        SearchIndex.Saved s = SearchIndex.load(indexDirectory.resolve(fileName), filters);
        return s != null && store.rowidOf(table, s.index.lastId()) == s.stamp ? s : null;
    }

    /**
     * Writes both indexes to their files, each with the row of its last entry, for the next
     * start; nothing when they were not read. Called once nothing is uploaded any more.
     */
    public void saveIndexes() {
        if (indexed.getCount() > 0 || indexFailure != null) {
            return;
        }
        synchronized (writes) {
            try {
                exercises.save(indexDirectory.resolve(EXERCISES_INDEX),
                        store.rowidOf("exercises", exercises.lastId()));
                lessons.save(indexDirectory.resolve(LESSONS_INDEX), store.rowidOf("lessons", lessons.lastId()));
            } catch (IOException | SQLException | RuntimeException e) {
                System.err.println("The peer could not keep its search index: " + e.getMessage());
            }
        }
    }

    /** Waits until the indexes are read; fails when they could not be. */
    private void awaitIndex() throws SQLException {
        try {
            indexed.await();
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            throw new SQLException("Interrupted while the search index was read", e);
        }
        if (indexFailure != null) {
            throw new SQLException("The search index could not be read", indexFailure);
        }
    }

    /** A new persistent id: never "0" or "-1", 36 characters. */
    static String newId() {
        return UUID.randomUUID().toString();
    }

    /** The stored sound file of that name; null for a name that is not one the peer gives out. */
    public Path mediaFile(String name) {
        if (name == null || !MEDIA_NAME.matcher(name).matches() || name.contains("..")) {
            return null;
        }
        Path file = mediaDirectory.resolve(name);
        return Files.isRegularFile(file) ? file : null;
    }

    public Path mediaDirectory() {
        return mediaDirectory;
    }

    // ---- uploads ----

    private static void requireUser(SessionUser user) throws Refusal {
        if (user == null) {
            throw new Refusal("Please sign in before uploading");
        }
    }

    /** Content naming a supplier must name the signed-in user; "0" or none means the uploader. */
    private static void checkSupplier(Element owner, SessionUser user) throws Refusal {
        String supplier = Xml.attr(Xml.child(owner, "manifest"), "suppliedByUserID");
        if (!supplier.isEmpty() && !supplier.equals("0") && !supplier.equals(user.userId)) {
            throw new Refusal("The content's user does not match the session");
        }
    }

    /** A copy of the uploaded element in a document of its own, without local ids; refused past the limits. */
    private static Element importCopy(Element uploaded) throws Refusal {
        String beyond = Xml.beyondLimits(uploaded, MAX_CONTENT_DEPTH, MAX_CONTENT_ELEMENTS, MAX_CONTENT_NAME);
        if (beyond != null) {
            throw new Refusal("The upload is refused: " + beyond);
        }
        if (uploaded.getTextContent().length() > MAX_CONTENT_CHARS
                || Xml.serialize(uploaded).length() > PeerStore.MAX_DOC_CHARS) {
            throw new Refusal("The upload is refused: it is longer than " + PeerStore.MAX_DOC_CHARS + " characters");
        }
        Document doc = Xml.newDocument();
        Element copy = (Element) doc.importNode(uploaded, true);
        doc.appendChild(copy);
        Xml.removeAttr(copy, "localManifestID");
        for (Element e : Xml.descendants(copy)) {
            Xml.removeAttr(e, "localManifestID");
        }
        return copy;
    }

    private static void stamp(Element owner, String pmid, SessionUser user) {
        Element manifest = Xml.ensureChild(owner, "manifest");
        Xml.setAttr(manifest, "persistentManifestID", pmid);
        Xml.setAttr(manifest, "suppliedByUserID", user.userId);
        Xml.setAttr(manifest, "suppliedByUserName", user.userName);
    }

    private static String valueOf(Element parent, String name) {
        String a = Xml.attr(parent, name);
        return a.isEmpty() ? Xml.text(parent, name) : a;
    }

    /** Key-value pairs become attribute-only elements: kvpTypeID, kvpValue, langID (and kvpLangID). */
    private static void flattenKvps(Element owner) {
        Element kvps = Xml.child(owner, "kvps");
        if (kvps == null) {
            return;
        }
        for (Element kvp : Xml.children(kvps, "kvp")) {
            String type = valueOf(kvp, "kvpTypeID");
            String value = valueOf(kvp, "kvpValue");
            String lang = valueOf(kvp, "langID");
            if (lang.isEmpty()) {
                lang = valueOf(kvp, "kvpLangID");
            }
            while (kvp.getFirstChild() != null) {
                kvp.removeChild(kvp.getFirstChild());
            }
            NamedNodeMap attrs = kvp.getAttributes();
            while (attrs.getLength() > 0) {
                kvp.removeAttributeNode((org.w3c.dom.Attr) attrs.item(0));
            }
            kvp.setAttribute("kvpTypeID", type);
            kvp.setAttribute("kvpValue", value);
            kvp.setAttribute("langID", lang);
            kvp.setAttribute("kvpLangID", lang);
        }
    }

    private static String extensionOf(String fileName) {
        int dot = fileName.lastIndexOf('.');
        if (dot < 0) {
            return "";
        }
        String ext = fileName.substring(dot + 1).toLowerCase(Locale.ROOT);
        return EXTENSION.matcher(ext).matches() ? "." + ext : "";
    }

    /** Stores an exercise; sound, when given, is a file in the media folder that this call takes over. */
    public Reply uploadExercise(Element uploaded, SessionUser user, Path sound) throws Refusal, SQLException, IOException {
        requireUser(user);
        checkSupplier(uploaded, user);
        Element e = importCopy(uploaded);
        String term = Xml.text(e, "term", "textual_manifest", "manifestValue");
        if (term.isEmpty()) {
            throw new Refusal("The exercise has no term");
        }
        String lang = Xml.text(e, "term", "textual_manifest", "langID");
        if (lang.isEmpty()) {
            lang = Xml.text(e, "textual_manifest", "langID");
        }
        if (lang.isEmpty()) {
            throw new Refusal("The exercise has no language");
        }
        String pmid = newId();
        String termPmid = newId();
        String mediaPmid = newId();
        stamp(e, pmid, user);
        stamp(Xml.ensureChild(e, "term"), termPmid, user);
        Element media = Xml.ensureChild(e, "media");
        stamp(media, mediaPmid, user);
        Element mm = Xml.ensureChild(media, "media_manifest");
        // Every media name the upload gives, as element or attribute, anywhere: at most one, and
        // none of them is kept; the peer names the stored sound itself.
        String given = takeMediaName(e);
        String mediaName = null;
        if (sound != null) {
            mediaName = newId() + extensionOf(given == null ? "" : given.trim());
            Xml.setText(Xml.ensureChild(mm, MEDIA_NAME_KEY), mediaName);
        }
        flattenKvps(e);

        String mediaLang = Xml.text(mm, "langID");
        String learnerLevel = Xml.attr(Xml.child(e, "textual_manifest"), "learnerLevelID");
        if (learnerLevel.isEmpty()) {
            learnerLevel = Xml.attr(Xml.at(e, "term", "textual_manifest"), "learnerLevelID");
        }
        String[] filters = {mediaLang.isEmpty() ? lang : mediaLang, Xml.text(mm, "voice"),
            Xml.attr(mm, "speakingSpeedID"), Xml.text(mm, "countryID"), Xml.text(mm, "stateProv"),
            Xml.text(mm, "locality"), Xml.text(mm, "localeDescriptor"), Xml.attr(mm, "fluencyLevelID"), learnerLevel};
        PeerStore.Exercise row = new PeerStore.Exercise(pmid, termPmid, mediaPmid, user.userId, term, lang, filters,
                mediaName, Xml.serialize(e));

        // Added to the index after everything it read, in upload order.
        awaitIndex();
        Path stored = null;
        if (sound != null) {
            stored = mediaDirectory.resolve(mediaName);
            Files.move(sound, stored, StandardCopyOption.ATOMIC_MOVE);
        }
        synchronized (writes) {
            try {
                store.insertExercise(row);
            } catch (SQLException | RuntimeException ex) {
                if (stored != null) {
                    Files.deleteIfExists(stored);
                }
                throw ex;
            }
            exercises.add(pmid, lang, new String[] {term}, filters);
        }
        return Reply.ok(Envelope.reply("uploadExerciseReply", "1", "<uploadExerciseReply>"
                + "<exercise persistentManifestID=\"" + pmid + "\"/>"
                + "<term persistentManifestID=\"" + termPmid + "\"/>"
                + "<media persistentManifestID=\"" + mediaPmid + "\"/>"
                + "<error_description/></uploadExerciseReply>"));
    }

    /** Removes every media name from the exercise; the one it gave, or null. Refused when it gives several. */
    private static String takeMediaName(Element exercise) throws Refusal {
        List<Element> all = new java.util.ArrayList<>();
        all.add(exercise);
        all.addAll(Xml.descendants(exercise));
        String given = null;
        int found = 0;
        for (Element el : all) {
            if (el.hasAttribute(MEDIA_NAME_KEY)) {
                found++;
                given = el.getAttribute(MEDIA_NAME_KEY);
                el.removeAttribute(MEDIA_NAME_KEY);
            }
            if (el.getNodeName().equals(MEDIA_NAME_KEY) && el.getParentNode() != null) {
                found++;
                given = el.getTextContent();
                el.getParentNode().removeChild(el);
            }
        }
        if (found > 1) {
            throw new Refusal("An exercise carries at most one media file name");
        }
        return given;
    }

    public Reply uploadLesson(Element uploaded, SessionUser user) throws Refusal, SQLException {
        requireUser(user);
        checkSupplier(uploaded, user);
        Element l = importCopy(uploaded);
        Element textual = Xml.child(l, "textual_manifest");
        String title = Xml.text(textual, "manifestTitle");
        if (title.isEmpty()) {
            throw new Refusal("The lesson has no title");
        }
        List<Element> members = Xml.children(Xml.child(l, "exercises"), "exercise");
        if (members.size() > MAX_LESSON_MEMBERS) {
            throw new Refusal("A lesson holds at most " + MAX_LESSON_MEMBERS + " exercises");
        }
        Set<String> seen = new HashSet<>();
        for (Element member : members) {
            String id = Xml.attr(member, "persistentManifestID");
            if (!seen.add(id)) {
                throw new Refusal("The lesson holds an exercise more than once: " + id);
            }
            if (id.isEmpty() || id.equals("0") || !store.exerciseExists(id)) {
                throw new Refusal("The lesson holds an exercise that is not on the network: " + id);
            }
        }
        String pmid = newId();
        Xml.setAttr(l, "numChildren", Integer.toString(members.size()));
        stamp(l, pmid, user);
        flattenKvps(l);
        String description = Xml.text(textual, "manifestDescription");
        String lang = Xml.text(textual, "langID");
        String level = Xml.attr(textual, "learnerLevelID");
        awaitIndex();
        synchronized (writes) {
            store.insertLesson(new PeerStore.Lesson(pmid, user.userId, title, description, lang, level,
                    Xml.serialize(l)));
            lessons.add(pmid, lang, new String[] {title, description}, new String[] {lang, level});
        }
        return Reply.ok(Envelope.reply("uploadLessonReply", "1", "<uploadLessonReply><lesson persistentManifestID=\""
                + pmid + "\"/><error_description/></uploadLessonReply>"));
    }

    public Reply uploadTranslation(Element uploaded, SessionUser user) throws Refusal, SQLException {
        requireUser(user);
        checkSupplier(uploaded, user);
        Element t = importCopy(uploaded);
        List<Element> members = Xml.children(Xml.child(t, "exercises"), "exercise");
        Set<String> ids = new HashSet<>();
        for (Element member : members) {
            String id = Xml.attr(member, "persistentManifestID");
            if (id.isEmpty() || id.equals("0") || !store.exerciseExists(id)) {
                throw new Refusal("The translation links an exercise that is not on the network: " + id);
            }
            ids.add(id);
        }
        if (members.size() != 2 || ids.size() != 2) {
            throw new Refusal("A translation links exactly two different exercises");
        }
        for (String id : ids) {
            int[] counts = store.translationCounts(id, user.userId);
            if (counts[0] >= MAX_TRANSLATIONS_PER_EXERCISE) {
                throw new Refusal("The exercise " + id + " has the most translations it may have ("
                        + MAX_TRANSLATIONS_PER_EXERCISE + ")");
            }
            if (counts[1] >= MAX_TRANSLATIONS_PER_AUTHOR) {
                throw new Refusal("You have given the exercise " + id + " the most translations one user may give ("
                        + MAX_TRANSLATIONS_PER_AUTHOR + ")");
            }
        }
        String pmid = newId();
        stamp(t, pmid, user);
        flattenKvps(t);
        // A pair given before keeps its first translation: the reply names that one.
        String kept = store.insertTranslation(new PeerStore.Translation(pmid, user.userId, Xml.attr(members.get(0),
                "persistentManifestID"), Xml.attr(members.get(1), "persistentManifestID"), Xml.serialize(t)));
        return Reply.ok(Envelope.reply("uploadTranslationReply", "1",
                "<uploadTranslationReply><translation persistentManifestID=\"" + kept
                        + "\"/><error_description/></uploadTranslationReply>"));
    }

    // ---- downloads ----

    private static String requestedId(Element request) throws Refusal {
        String id = Xml.text(request, "persistentManifestID");
        if (id.isEmpty()) {
            throw new Refusal("No persistent id was given");
        }
        return id;
    }

    public Reply downloadExercise(Element request) throws Refusal, SQLException {
        String doc = store.exerciseDoc(requestedId(request));
        if (doc == null) {
            throw new Refusal("Unknown exercise");
        }
        return Reply.ok(Envelope.reply("downloadExerciseReply", "1",
                "<downloadExerciseReply>" + doc + "</downloadExerciseReply>"));
    }

    /** A lesson comes back in the shape it was uploaded in: body/uploadLesson/lesson. */
    public Reply downloadLesson(Element request) throws Refusal, SQLException {
        String doc = store.lessonDoc(requestedId(request));
        if (doc == null) {
            throw new Refusal("Unknown lesson");
        }
        return Reply.ok(Envelope.reply("downloadLessonReply", "1", "<uploadLesson>" + doc + "</uploadLesson>"));
    }

    /** Every translation of an exercise, each followed by the exercise it translates to. */
    public Reply downloadTranslation(Element request) throws Refusal, SQLException {
        String pmid = requestedId(request);
        if (!store.exerciseExists(pmid)) {
            throw new Refusal("Unknown exercise");
        }
        StringBuilder body = new StringBuilder("<downloadTranslation>");
        int found = 0;
        for (PeerStore.Translation t : store.translationsOf(pmid)) {
            String other = t.exerciseA().equals(pmid) ? t.exerciseB() : t.exerciseA();
            String otherDoc = store.exerciseDoc(other);
            Document parsed = Xml.parse(t.doc());
            if (otherDoc == null || parsed == null) {
                continue;
            }
            Element translation = parsed.getDocumentElement();
            Element textual = Xml.ensureChild(translation, "textual_manifest");
            Element value = Xml.child(textual, "manifestValue");
            if (value == null) {
                value = parsed.createElement("manifestValue");
                textual.insertBefore(value, textual.getFirstChild());
            }
            while (value.getFirstChild() != null) {
                value.removeChild(value.getFirstChild());
            }
            String term = store.exerciseTerm(other);
            value.appendChild(parsed.createCDATASection(term == null ? "" : term));
            body.append(Xml.serialize(translation)).append(otherDoc);
            found++;
        }
        if (found == 0) {
            throw new Refusal("The exercise has no translations");
        }
        body.append("</downloadTranslation>");
        return Reply.ok(Envelope.reply("downloadTranslationReply", "1", body.toString()));
    }

    // ---- searches ----

    private static Map<String, String> criteria(Element request) {
        Map<String, String> c = new HashMap<>();
        for (Node n = request.getFirstChild(); n != null; n = n.getNextSibling()) {
            if (n.getNodeType() == Node.ELEMENT_NODE) {
                c.put(n.getNodeName().toLowerCase(Locale.ROOT), n.getTextContent().trim());
            }
        }
        return c;
    }

    private static int number(String text, int fallback, int min, int max) {
        try {
            int n = Integer.parseInt(text == null ? "" : text.trim());
            return n < min ? fallback : Math.min(n, max);
        } catch (NumberFormatException e) {
            return fallback;
        }
    }

    public Reply exerciseQuery(Element request) throws SQLException {
        Map<String, String> c = criteria(request);
        int size = number(c.get("max_results"), DEFAULT_PAGE_SIZE, 1, MAX_PAGE_SIZE);
        int page = number(c.get("page_num"), 1, 1, 1_000_000);
        awaitIndex();
        SearchIndex.Page found = exercises.search(c.get("query_langid"), c.get("term"), c, size, page);
        StringBuilder body = new StringBuilder(4096).append("<exerciseQueryReply>")
                .append(Xml.element("total_result_available", Integer.toString(found.total)));
        for (String doc : store.exerciseDocs(found.ids)) {
            body.append(doc);
        }
        body.append("<error_description/></exerciseQueryReply>");
        return Reply.ok(Envelope.reply("exerciseQueryReply", "1", body.toString()));
    }

    /** The text is looked for in the title and the description; the title element's text wins when both are given. */
    public Reply lessonQuery(Element request) throws SQLException {
        Map<String, String> c = criteria(request);
        int size = number(c.get("max_results"), DEFAULT_PAGE_SIZE, 1, MAX_PAGE_SIZE);
        int page = number(c.get("page_num"), 1, 1, 1_000_000);
        String text = c.getOrDefault("title", "");
        if (text.isEmpty()) {
            text = c.getOrDefault("description", "");
        }
        awaitIndex();
        SearchIndex.Page found = lessons.search(c.get("query_langid"), text, c, size, page);
        StringBuilder body = new StringBuilder(4096).append("<lessonQueryReply>")
                .append(Xml.element("total_result_available", Integer.toString(found.total)));
        for (String doc : store.lessonDocs(found.ids)) {
            body.append(doc);
        }
        body.append("<error_description/></lessonQueryReply>");
        return Reply.ok(Envelope.reply("lessonQueryReply", "1", body.toString()));
    }

    /** Adds already-built exercises in bulk (used to fill a peer for measurements). */
    public void addExercises(List<PeerStore.Exercise> rows) throws SQLException {
        awaitIndex();
        synchronized (writes) {
            store.insertExercises(rows);
            for (PeerStore.Exercise r : rows) {
                exercises.add(r.pmid(), r.languageId(), new String[] {r.term()}, r.filters());
            }
        }
    }
}
