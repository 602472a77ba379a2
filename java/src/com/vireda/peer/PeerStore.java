package com.vireda.peer;

import java.nio.file.Files;
import java.nio.file.Path;
import java.sql.Connection;
import java.sql.DriverManager;
import java.sql.PreparedStatement;
import java.sql.ResultSet;
import java.sql.SQLException;
import java.sql.Statement;
import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.concurrent.ConcurrentLinkedDeque;
import java.util.concurrent.Semaphore;

/**
 * The peer's durable data in one SQLite file; every method is one unit of work.
 * Writes go through one connection, one at a time; reads take one of several
 * read-only connections and never wait for a write (the file is in WAL mode).
 */
public final class PeerStore implements AutoCloseable {
    public record User(String userId, String userName, byte[] salt, byte[] hash, int iterations, String given,
            String family, String email, String countryId, String provState, String locality,
            String passwordQuestion, byte[] answerSalt, byte[] answerHash) {
    }

    /** A one-time password sent by mail; created in seconds since 1970. */
    public record OneTimePassword(byte[] salt, byte[] hash, int iterations, long created) {
    }

    public record Fluency(String languageId, String fluencyId, String countryId, String provState, String locality,
            String localeDescriptor, String nonSpeaking) {
    }

    /** Searchable values of an exercise, in the order of EXERCISE_FILTERS. */
    public record Exercise(String pmid, String termPmid, String mediaPmid, String userId, String term,
            String languageId, String[] filters, String mediaFile, String doc) {
    }

    public record Lesson(String pmid, String userId, String title, String description, String languageId,
            String learnerLevelId, String doc) {
    }

    public record Translation(String pmid, String userId, String exerciseA, String exerciseB, String doc) {
    }

    /** Request elements that filter exercise searches, lower-cased. */
    public static final String[] EXERCISE_FILTERS = {"results_langid", "results_voice", "results_speakingspeedid",
        "results_countrylangid", "results_stateprov", "results_locality", "results_localedescriptor",
        "results_fluencylevelid", "results_learnerlevelid"};
    private static final String[] EXERCISE_FILTER_COLUMNS = {"media_lang_id", "voice", "speed_id", "country_id",
        "state_prov", "locality", "locale_desc", "fluency_id", "learner_level_id"};
    public static final String[] LESSON_FILTERS = {"results_langid", "results_learnerlevelid"};

    private static final String[] SCHEMA = {
        "CREATE TABLE IF NOT EXISTS users (uid TEXT PRIMARY KEY, username TEXT NOT NULL, "
            + "username_key TEXT NOT NULL UNIQUE, salt BLOB NOT NULL, hash BLOB NOT NULL, iterations INTEGER NOT NULL, "
            + "given TEXT, family TEXT, email TEXT, country_id TEXT, prov_state TEXT, locality TEXT, "
            + "pw_question TEXT, answer_salt BLOB, answer_hash BLOB, created INTEGER NOT NULL)",
        "CREATE TABLE IF NOT EXISTS fluencies (uid TEXT NOT NULL, seq INTEGER NOT NULL, language_id TEXT, "
            + "fluency_id TEXT, country_id TEXT, prov_state TEXT, locality TEXT, locale_desc TEXT, non_speaking TEXT, "
            + "PRIMARY KEY (uid, seq))",
        "CREATE TABLE IF NOT EXISTS feedback (id INTEGER PRIMARY KEY, uid TEXT, kind TEXT, comment TEXT, "
            + "origin TEXT, created INTEGER NOT NULL)",
        "CREATE TABLE IF NOT EXISTS reminders (id INTEGER PRIMARY KEY, uid TEXT NOT NULL, created INTEGER NOT NULL)",
        "CREATE TABLE IF NOT EXISTS one_time_passwords (uid TEXT PRIMARY KEY, salt BLOB NOT NULL, hash BLOB NOT NULL, "
            + "iterations INTEGER NOT NULL, created INTEGER NOT NULL)",
        "CREATE TABLE IF NOT EXISTS exercises (pmid TEXT PRIMARY KEY, term_pmid TEXT NOT NULL UNIQUE, "
            + "media_pmid TEXT NOT NULL UNIQUE, uid TEXT NOT NULL, term TEXT NOT NULL, lang_id TEXT, media_lang_id TEXT, "
            + "voice TEXT, speed_id TEXT, country_id TEXT, state_prov TEXT, locality TEXT, locale_desc TEXT, "
            + "fluency_id TEXT, learner_level_id TEXT, media_file TEXT, created INTEGER NOT NULL, doc TEXT NOT NULL)",
        "CREATE UNIQUE INDEX IF NOT EXISTS idx_exercises_media ON exercises (media_file) WHERE media_file IS NOT NULL",
        "CREATE TABLE IF NOT EXISTS lessons (pmid TEXT PRIMARY KEY, uid TEXT NOT NULL, title TEXT, description TEXT, "
            + "lang_id TEXT, learner_level_id TEXT, created INTEGER NOT NULL, doc TEXT NOT NULL)",
        "CREATE TABLE IF NOT EXISTS translations (pmid TEXT PRIMARY KEY, uid TEXT NOT NULL, exercise_a TEXT NOT NULL, "
            + "exercise_b TEXT NOT NULL, created INTEGER NOT NULL, doc TEXT NOT NULL)",
        "CREATE INDEX IF NOT EXISTS idx_translations_a ON translations (exercise_a)",
        "CREATE INDEX IF NOT EXISTS idx_translations_b ON translations (exercise_b)",
    };

    /** Longest stored document (in characters) that is given out. */
    public static final int MAX_DOC_CHARS = 256 * 1024;

    /**
     * Connections that read at the same time: more than the cores, since a read that a busy
     * machine puts aside keeps its connection meanwhile. Each keeps a small page cache.
     */
    public static final int READERS = Math.max(8, Math.min(32, 4 * Runtime.getRuntime().availableProcessors()));
    private static final String READER_CACHE_KIB = "1024";

    private final Connection db;
    /**
     * Free read connections, the last one given back first. A read takes a turn, then a
     * connection; giving both back never waits, and a running thread takes a free turn at
     * once instead of handing it to a waiting one (a fair hand-over lets every read wait for
     * the scheduler to wake the next thread in line).
     */
    private final ConcurrentLinkedDeque<Connection> idle = new ConcurrentLinkedDeque<>();
    private final Semaphore turns = new Semaphore(READERS);
    /** Every read connection opened so far; they open as reads come at the same time. */
    private final List<Connection> allReaders = new ArrayList<>();
    private final String url;
    /** Stored documents never change: the pages searches give out lately are not read again. */
    private static final long CACHED_DOC_CHARS = 2L << 20;
    private final DocumentCache exerciseDocCache = new DocumentCache(CACHED_DOC_CHARS);
    private final DocumentCache lessonDocCache = new DocumentCache(CACHED_DOC_CHARS);

    public PeerStore(Path dataDirectory) throws SQLException {
        try {
            Files.createDirectories(dataDirectory);
            Class.forName("org.sqlite.JDBC");
        } catch (Exception e) {
            throw new SQLException("Cannot open the peer data in " + dataDirectory, e);
        }
        url = "jdbc:sqlite:" + dataDirectory.resolve("peer.db").toAbsolutePath();
        db = DriverManager.getConnection(url);
        try {
            try (Statement s = db.createStatement()) {
                s.execute("PRAGMA busy_timeout=10000");
                s.execute("PRAGMA journal_mode=WAL");
                s.execute("PRAGMA synchronous=NORMAL");
                db.setAutoCommit(false);
                for (String sql : SCHEMA) {
                    s.execute(sql);
                }
                db.commit();
            }
        } catch (SQLException e) {
            closeAll();
            throw e;
        }
    }

    @Override
    public synchronized void close() {
        closeAll();
    }

    private void closeAll() {
        List<Connection> opened;
        synchronized (allReaders) {
            opened = new ArrayList<>(allReaders);
        }
        for (Connection c : opened) {
            try {
                c.close();
            } catch (SQLException e) {
                // closing at the end of the process
            }
        }
        try {
            db.close();
        } catch (SQLException e) {
            // closing at the end of the process
        }
    }

    private interface Read<T> {
        T run(Connection c) throws SQLException;
    }

    /** A new read connection; one opens only while every open one is in use. */
    private Connection openReader() throws SQLException {
        synchronized (allReaders) {
            Connection reader = DriverManager.getConnection(url);
            try (Statement s = reader.createStatement()) {
                s.execute("PRAGMA busy_timeout=10000");
                s.execute("PRAGMA query_only=1");
                s.execute("PRAGMA cache_size=-" + READER_CACHE_KIB);
            } catch (SQLException e) {
                reader.close();
                throw e;
            }
            allReaders.add(reader);
            return reader;
        }
    }

    /** Runs one read on a free read connection (each statement reads one snapshot). */
    private <T> T read(Read<T> work) throws SQLException {
        try {
            turns.acquire();
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
            throw new SQLException("Interrupted while waiting to read", e);
        }
        Connection c = null;
        try {
            // A turn holder finds a free connection, or every open one is taken by the others.
            c = idle.pollFirst();
            if (c == null) {
                c = openReader();
            }
            return work.run(c);
        } finally {
            if (c != null) {
                idle.offerFirst(c);
            }
            turns.release();
        }
    }

    /** Read connections opened so far; never more than READERS. */
    public int openReaders() {
        synchronized (allReaders) {
            return allReaders.size();
        }
    }

    private static long now() {
        return System.currentTimeMillis() / 1000;
    }

    private interface Work<T> {
        T run() throws SQLException;
    }

    /** Runs work in one transaction, rolled back on any failure. */
    private <T> T transaction(Work<T> work) throws SQLException {
        try {
            T result = work.run();
            db.commit();
            return result;
        } catch (SQLException | RuntimeException e) {
            try {
                db.rollback();
            } catch (SQLException ignored) {
                // the original failure is what matters
            }
            throw e;
        }
    }

    private static void bind(PreparedStatement ps, Object... values) throws SQLException {
        for (int i = 0; i < values.length; i++) {
            ps.setObject(i + 1, values[i]);
        }
    }

    // ---- users ----

    /** False when the name is taken (names differing only in case included). */
    public synchronized boolean createUser(User u, List<Fluency> fluencies) throws SQLException {
        return transaction(() -> {
            try (PreparedStatement check = db.prepareStatement("SELECT 1 FROM users WHERE username_key = ?")) {
                bind(check, SearchIndex.fold(u.userName()));
                try (ResultSet rs = check.executeQuery()) {
                    if (rs.next()) {
                        return false;
                    }
                }
            }
            try (PreparedStatement ps = db.prepareStatement("INSERT INTO users (uid, username, username_key, salt, hash, "
                    + "iterations, given, family, email, country_id, prov_state, locality, pw_question, answer_salt, "
                    + "answer_hash, created) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")) {
                bind(ps, u.userId(), u.userName(), SearchIndex.fold(u.userName()), u.salt(), u.hash(), u.iterations(),
                        u.given(), u.family(), u.email(), u.countryId(), u.provState(), u.locality(),
                        u.passwordQuestion(), u.answerSalt(), u.answerHash(), now());
                ps.executeUpdate();
            }
            writeFluencies(u.userId(), fluencies);
            return true;
        });
    }

    private void writeFluencies(String userId, List<Fluency> fluencies) throws SQLException {
        try (PreparedStatement del = db.prepareStatement("DELETE FROM fluencies WHERE uid = ?")) {
            bind(del, userId);
            del.executeUpdate();
        }
        try (PreparedStatement ps = db.prepareStatement("INSERT INTO fluencies (uid, seq, language_id, fluency_id, "
                + "country_id, prov_state, locality, locale_desc, non_speaking) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)")) {
            int seq = 1;
            for (Fluency f : fluencies) {
                bind(ps, userId, seq++, f.languageId(), f.fluencyId(), f.countryId(), f.provState(), f.locality(),
                        f.localeDescriptor(), f.nonSpeaking());
                ps.executeUpdate();
            }
        }
    }

    public synchronized void replaceFluencies(String userId, List<Fluency> fluencies) throws SQLException {
        transaction(() -> {
            writeFluencies(userId, fluencies);
            return null;
        });
    }

    /** The user of that name, compared without regard to case; null when unknown. */
    public User findUser(String userName) throws SQLException {
        return read(c -> {
            try (PreparedStatement ps = c.prepareStatement("SELECT uid, username, salt, hash, iterations, given, "
                    + "family, email, country_id, prov_state, locality, pw_question, answer_salt, answer_hash FROM users "
                    + "WHERE username_key = ?")) {
                bind(ps, SearchIndex.fold(userName));
                try (ResultSet rs = ps.executeQuery()) {
                    if (!rs.next()) {
                        return null;
                    }
                    return new User(rs.getString(1), rs.getString(2), rs.getBytes(3), rs.getBytes(4), rs.getInt(5),
                            rs.getString(6), rs.getString(7), rs.getString(8), rs.getString(9), rs.getString(10),
                            rs.getString(11), rs.getString(12), rs.getBytes(13), rs.getBytes(14));
                }
            }
        });
    }

    public List<Fluency> fluencies(String userId) throws SQLException {
        return read(c -> {
            List<Fluency> result = new ArrayList<>();
            try (PreparedStatement ps = c.prepareStatement("SELECT language_id, fluency_id, country_id, prov_state, "
                    + "locality, locale_desc, non_speaking FROM fluencies WHERE uid = ? ORDER BY seq")) {
                bind(ps, userId);
                try (ResultSet rs = ps.executeQuery()) {
                    while (rs.next()) {
                        result.add(new Fluency(rs.getString(1), rs.getString(2), rs.getString(3), rs.getString(4),
                                rs.getString(5), rs.getString(6), rs.getString(7)));
                    }
                }
            }
            return result;
        });
    }

    public synchronized void addFeedback(String userId, String kind, String comment, String origin)
            throws SQLException {
        transaction(() -> {
            try (PreparedStatement ps = db.prepareStatement(
                    "INSERT INTO feedback (uid, kind, comment, origin, created) VALUES (?, ?, ?, ?, ?)")) {
                bind(ps, userId, kind, comment, origin, now());
                ps.executeUpdate();
            }
            return null;
        });
    }

    public synchronized void addReminder(String userId) throws SQLException {
        transaction(() -> {
            try (PreparedStatement ps = db.prepareStatement("INSERT INTO reminders (uid, created) VALUES (?, ?)")) {
                bind(ps, userId, now());
                ps.executeUpdate();
            }
            return null;
        });
    }

    /** Records a reminder and keeps its one-time password, in place of an earlier one. */
    public synchronized void setOneTimePassword(String userId, byte[] salt, byte[] hash, int iterations, long created)
            throws SQLException {
        transaction(() -> {
            try (PreparedStatement ps = db.prepareStatement("INSERT OR REPLACE INTO one_time_passwords "
                    + "(uid, salt, hash, iterations, created) VALUES (?, ?, ?, ?, ?)");
                    PreparedStatement reminder = db.prepareStatement(
                            "INSERT INTO reminders (uid, created) VALUES (?, ?)")) {
                bind(ps, userId, salt, hash, iterations, created);
                ps.executeUpdate();
                bind(reminder, userId, created);
                reminder.executeUpdate();
            }
            return null;
        });
    }

    public OneTimePassword oneTimePassword(String userId) throws SQLException {
        return read(c -> {
            try (PreparedStatement ps = c.prepareStatement(
                    "SELECT salt, hash, iterations, created FROM one_time_passwords WHERE uid = ?")) {
                bind(ps, userId);
                try (ResultSet rs = ps.executeQuery()) {
                    return rs.next() ? new OneTimePassword(rs.getBytes(1), rs.getBytes(2), rs.getInt(3), rs.getLong(4))
                            : null;
                }
            }
        });
    }

    /** The one-time password becomes the password (its new hash given) and is gone. */
    public synchronized void replacePassword(String userId, byte[] salt, byte[] hash, int iterations)
            throws SQLException {
        transaction(() -> {
            try (PreparedStatement ps = db.prepareStatement(
                    "UPDATE users SET salt = ?, hash = ?, iterations = ? WHERE uid = ?");
                    PreparedStatement used = db.prepareStatement("DELETE FROM one_time_passwords WHERE uid = ?")) {
                bind(ps, salt, hash, iterations, userId);
                ps.executeUpdate();
                bind(used, userId);
                used.executeUpdate();
            }
            return null;
        });
    }

    // ---- content ----

    public synchronized void insertExercise(Exercise e) throws SQLException {
        transaction(() -> {
            try (PreparedStatement ps = db.prepareStatement("INSERT INTO exercises (pmid, term_pmid, media_pmid, uid, "
                    + "term, lang_id, media_lang_id, voice, speed_id, country_id, state_prov, locality, locale_desc, "
                    + "fluency_id, learner_level_id, media_file, created, doc) "
                    + "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")) {
                insertExerciseRow(ps, e);
            }
            return null;
        });
    }

    /** Many exercises in one transaction (bulk loading). */
    public synchronized void insertExercises(List<Exercise> list) throws SQLException {
        transaction(() -> {
            try (PreparedStatement ps = db.prepareStatement("INSERT INTO exercises (pmid, term_pmid, media_pmid, uid, "
                    + "term, lang_id, media_lang_id, voice, speed_id, country_id, state_prov, locality, locale_desc, "
                    + "fluency_id, learner_level_id, media_file, created, doc) "
                    + "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")) {
                for (Exercise e : list) {
                    insertExerciseRow(ps, e);
                }
            }
            return null;
        });
    }

    private static void insertExerciseRow(PreparedStatement ps, Exercise e) throws SQLException {
        Object[] values = new Object[18];
        values[0] = e.pmid();
        values[1] = e.termPmid();
        values[2] = e.mediaPmid();
        values[3] = e.userId();
        values[4] = e.term();
        values[5] = e.languageId();
        for (int i = 0; i < EXERCISE_FILTER_COLUMNS.length; i++) {
            values[6 + i] = e.filters()[i];
        }
        values[15] = e.mediaFile();
        values[16] = now();
        values[17] = e.doc();
        bind(ps, values);
        ps.executeUpdate();
    }

    public boolean exerciseExists(String pmid) throws SQLException {
        return read(c -> {
            try (PreparedStatement ps = c.prepareStatement("SELECT 1 FROM exercises WHERE pmid = ?")) {
                bind(ps, pmid);
                try (ResultSet rs = ps.executeQuery()) {
                    return rs.next();
                }
            }
        });
    }

    /** Stored documents of the given ids, in the order of the ids; unknown ids are left out. */
    public List<String> exerciseDocs(List<String> pmids) throws SQLException {
        return docs("exercises", exerciseDocCache, pmids);
    }

    public List<String> lessonDocs(List<String> pmids) throws SQLException {
        return docs("lessons", lessonDocCache, pmids);
    }

    public String exerciseDoc(String pmid) throws SQLException {
        List<String> d = exerciseDocs(List.of(pmid));
        return d.isEmpty() ? null : d.get(0);
    }

    public String lessonDoc(String pmid) throws SQLException {
        List<String> d = lessonDocs(List.of(pmid));
        return d.isEmpty() ? null : d.get(0);
    }

    public String exerciseTerm(String pmid) throws SQLException {
        return read(c -> {
            try (PreparedStatement ps = c.prepareStatement("SELECT term FROM exercises WHERE pmid = ?")) {
                bind(ps, pmid);
                try (ResultSet rs = ps.executeQuery()) {
                    return rs.next() ? rs.getString(1) : null;
                }
            }
        });
    }

    private List<String> docs(String table, DocumentCache cache, List<String> pmids) throws SQLException {
        String[] cached = new String[pmids.size()];
        List<String> missing = new ArrayList<>();
        for (int i = 0; i < cached.length; i++) {
            cached[i] = cache.get(pmids.get(i));
            if (cached[i] == null) {
                missing.add(pmids.get(i));
            }
        }
        Map<String, String> read = missing.isEmpty() ? Map.of() : uncachedDocs(table, missing);
        List<String> result = new ArrayList<>(pmids.size());
        for (int i = 0; i < cached.length; i++) {
            String doc = cached[i];
            if (doc == null) {
                doc = read.get(pmids.get(i));
                if (doc == null) {
                    continue;
                }
                cache.put(pmids.get(i), doc);
            }
            result.add(doc);
        }
        return result;
    }

    /** The documents of those ids that may be given out, by id. */
    private Map<String, String> uncachedDocs(String table, List<String> pmids) throws SQLException {
        return read(c -> {
            StringBuilder marks = new StringBuilder();
            for (int i = 0; i < pmids.size(); i++) {
                marks.append(i == 0 ? "?" : ", ?");
            }
            // table is one of two fixed names, never input. Documents stored before uploads
            // were checked may be past the limits: they are not given out.
            String sql = "SELECT pmid, doc FROM " + table + " WHERE pmid IN (" + marks + ") AND length(doc) <= ?";
            Map<String, String> found = new HashMap<>();
            try (PreparedStatement ps = c.prepareStatement(sql)) {
                bind(ps, pmids.toArray());
                ps.setInt(pmids.size() + 1, MAX_DOC_CHARS);
                try (ResultSet rs = ps.executeQuery()) {
                    while (rs.next()) {
                        found.put(rs.getString(1), rs.getString(2));
                    }
                }
            }
            return found;
        });
    }

    public synchronized void insertLesson(Lesson l) throws SQLException {
        transaction(() -> {
            try (PreparedStatement ps = db.prepareStatement("INSERT INTO lessons (pmid, uid, title, description, "
                    + "lang_id, learner_level_id, created, doc) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")) {
                bind(ps, l.pmid(), l.userId(), l.title(), l.description(), l.languageId(), l.learnerLevelId(), now(),
                        l.doc());
                ps.executeUpdate();
            }
            return null;
        });
    }

    /**
     * Keeps a translation once per pair of exercises, in either order: the id of
     * the translation kept, t's own or that of the pair's earlier one.
     */
    public synchronized String insertTranslation(Translation t) throws SQLException {
        return transaction(() -> {
            try (PreparedStatement ps = db.prepareStatement("SELECT pmid FROM translations WHERE (exercise_a = ? AND "
                    + "exercise_b = ?) OR (exercise_a = ? AND exercise_b = ?) ORDER BY created, rowid LIMIT 1")) {
                bind(ps, t.exerciseA(), t.exerciseB(), t.exerciseB(), t.exerciseA());
                try (ResultSet rs = ps.executeQuery()) {
                    if (rs.next()) {
                        return rs.getString(1);
                    }
                }
            }
            try (PreparedStatement ps = db.prepareStatement("INSERT INTO translations (pmid, uid, exercise_a, "
                    + "exercise_b, created, doc) VALUES (?, ?, ?, ?, ?, ?)")) {
                bind(ps, t.pmid(), t.userId(), t.exerciseA(), t.exerciseB(), now(), t.doc());
                ps.executeUpdate();
            }
            return t.pmid();
        });
    }

    /** How many translations link that exercise: all of them, and those of one user. */
    public synchronized int[] translationCounts(String exercisePmid, String userId) throws SQLException {
        try (PreparedStatement ps = db.prepareStatement("SELECT count(*), count(CASE WHEN uid = ? THEN 1 END) "
                + "FROM translations WHERE exercise_a = ? OR exercise_b = ?")) {
            bind(ps, userId, exercisePmid, exercisePmid);
            try (ResultSet rs = ps.executeQuery()) {
                return rs.next() ? new int[] {rs.getInt(1), rs.getInt(2)} : new int[] {0, 0};
            }
        } finally {
            db.commit();
        }
    }

    /** Translations linking that exercise, oldest first. */
    public List<Translation> translationsOf(String exercisePmid) throws SQLException {
        return read(c -> {
            List<Translation> result = new ArrayList<>();
            try (PreparedStatement ps = c.prepareStatement("SELECT pmid, uid, exercise_a, exercise_b, doc "
                    + "FROM translations WHERE exercise_a = ? OR exercise_b = ? ORDER BY created, rowid")) {
                bind(ps, exercisePmid, exercisePmid);
                try (ResultSet rs = ps.executeQuery()) {
                    while (rs.next()) {
                        result.add(new Translation(rs.getString(1), rs.getString(2), rs.getString(3), rs.getString(4),
                                rs.getString(5)));
                    }
                }
            }
            return result;
        });
    }

    /** Fills the two search indexes from the stored content, in upload order. */
    public void loadIndexes(SearchIndex exercises, SearchIndex lessons) throws SQLException {
        loadIndexes(exercises, 0, lessons, 0);
    }

    /** Adds to the two search indexes the stored content after those row ids, in upload order. */
    public synchronized void loadIndexes(SearchIndex exercises, long exercisesAfter, SearchIndex lessons,
            long lessonsAfter) throws SQLException {
        StringBuilder cols = new StringBuilder();
        for (String c : EXERCISE_FILTER_COLUMNS) {
            cols.append(", ").append(c);
        }
        try (PreparedStatement ex = db.prepareStatement(
                "SELECT pmid, lang_id, term" + cols + " FROM exercises WHERE rowid > ? ORDER BY rowid");
                PreparedStatement le = db.prepareStatement("SELECT pmid, lang_id, title, description, "
                        + "learner_level_id FROM lessons WHERE rowid > ? ORDER BY rowid")) {
            bind(ex, exercisesAfter);
            try (ResultSet rs = ex.executeQuery()) {
                while (rs.next()) {
                    String[] filters = new String[EXERCISE_FILTER_COLUMNS.length];
                    for (int i = 0; i < filters.length; i++) {
                        filters[i] = rs.getString(4 + i);
                    }
                    exercises.add(rs.getString(1), rs.getString(2), new String[] {rs.getString(3)}, filters);
                }
            }
            bind(le, lessonsAfter);
            try (ResultSet rs = le.executeQuery()) {
                while (rs.next()) {
                    lessons.add(rs.getString(1), rs.getString(2), new String[] {rs.getString(3), rs.getString(4)},
                            new String[] {rs.getString(2), rs.getString(5)});
                }
            }
        } finally {
            db.commit();
        }
    }

    /** The row id of that id in "exercises" or "lessons": 0 for null, -1 when it is not stored. */
    public long rowidOf(String table, String pmid) throws SQLException {
        if (!table.equals("exercises") && !table.equals("lessons")) {
            throw new IllegalArgumentException(table);
        }
        if (pmid == null) {
            return 0;
        }
        return read(c -> {
            try (PreparedStatement ps = c.prepareStatement("SELECT rowid FROM " + table + " WHERE pmid = ?")) {
                bind(ps, pmid);
                try (ResultSet rs = ps.executeQuery()) {
                    return rs.next() ? rs.getLong(1) : -1L;
                }
            }
        });
    }

    private static final List<String> COUNTED = List.of("users", "fluencies", "feedback", "reminders",
            "one_time_passwords", "exercises", "lessons", "translations");

    /** Number of rows of one of the peer's tables. */
    public int count(String table) throws SQLException {
        return read(c -> {
            if (!COUNTED.contains(table)) {
                throw new IllegalArgumentException(table);
            }
            try (Statement s = c.createStatement(); ResultSet rs = s.executeQuery("SELECT count(*) FROM " + table)) {
                return rs.next() ? rs.getInt(1) : 0;
            }
        });
    }
}
