package com.vireda.tests;

import java.io.IOException;
import java.io.OutputStream;
import java.net.InetAddress;
import java.net.Socket;
import java.net.http.HttpRequest;
import java.net.http.HttpResponse;
import java.nio.charset.StandardCharsets;
import java.time.Duration;
import java.nio.file.Files;
import java.sql.Connection;
import java.sql.DriverManager;
import java.sql.ResultSet;
import java.sql.Statement;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Map;
import java.util.concurrent.atomic.AtomicLong;

import org.w3c.dom.Element;

import com.vireda.peer.PasswordHasher;
import com.vireda.peer.PeerSettings;
import com.vireda.peer.SearchIndex;
import com.vireda.peer.Sessions;
import com.vireda.xml.Xml;

/** The peer service through HTTP: accounts, sessions, searches and bad input. */
public final class PeerTests {
    interface Case {
        void run() throws Exception;
    }

    static int run(String group, Object[][] cases) {
        int failed = 0;
        for (Object[] c : cases) {
            String name = group + "::" + c[0];
            try {
                ((Case) c[1]).run();
                System.out.println("PASS   " + name);
            } catch (Throwable t) {
                failed++;
                System.out.println("FAIL!  " + name + ": " + t);
                t.printStackTrace(System.out);
            }
        }
        return failed;
    }

    public static void main(String[] args) {
        String group = args.length > 0 ? args[0] : "peer";
        int failed;
        if (group.equals("client")) {
            failed = run("client", ClientTests.cases());
        } else if (group.equals("slow")) {
            failed = run("slow", new Object[][] {
                {"slowClientsDoNotStopTheService", (Case) PeerTests::slowClientsDoNotStopTheService},
            }) + run("slow", AttackTests.cases());
        } else {
            failed = run("peer", new Object[][] {
                {"requestTypesAnswer", (Case) PeerTests::requestTypesAnswer},
                {"registrationRefusesNameInOtherCase", (Case) PeerTests::registrationRefusesNameInOtherCase},
                {"loginChecksPassword", (Case) PeerTests::loginChecksPassword},
                {"passwordsAreStoredHashed", (Case) PeerTests::passwordsAreStoredHashed},
                {"uploadsNeedTheirUsersSession", (Case) PeerTests::uploadsNeedTheirUsersSession},
                {"searchPagesAndTotals", (Case) PeerTests::searchPagesAndTotals},
                {"searchFilters", (Case) PeerTests::searchFilters},
                {"indexFindsWhatAScanFinds", (Case) PeerTests::indexFindsWhatAScanFinds},
                {"hashingIsBounded", (Case) PeerTests::hashingIsBounded},
                {"readsDoNotWaitForAWrite", (Case) PeerTests::readsDoNotWaitForAWrite},
                {"manyReadsShareAFewConnections", (Case) PeerTests::manyReadsShareAFewConnections},
                {"documentsReadAgainAnswerAsTheFirstTime", (Case) PeerTests::documentsReadAgainAnswerAsTheFirstTime},
                {"searchesWaitForTheIndexTheStartDoesNot", (Case) PeerTests::searchesWaitForTheIndexTheStartDoesNot},
                {"lessonSearchAndDownload", (Case) PeerTests::lessonSearchAndDownload},
                {"badInputChangesNothing", (Case) PeerTests::badInputChangesNothing},
                {"dataSurvivesRestart", (Case) PeerTests::dataSurvivesRestart},
                {"indexFileIsReadBackAndCaughtUp", (Case) PeerTests::indexFileIsReadBackAndCaughtUp},
                {"hostileUploadsAreRefused", (Case) PeerTests::hostileUploadsAreRefused},
                {"sessionsEndAfterADayUnused", (Case) PeerTests::sessionsEndAfterADayUnused},
                {"signOutEndsTheSession", (Case) PeerTests::signOutEndsTheSession},
                {"ratesArePerAddress", (Case) PeerTests::ratesArePerAddress},
                {"suggestionsKeepNoUser", (Case) PeerTests::suggestionsKeepNoUser},
                {"reminderMailsAOneTimePassword", (Case) PeerTests::reminderMailsAOneTimePassword},
                {"remindersAreLimitedAndTellNoNames", (Case) PeerTests::remindersAreLimitedAndTellNoNames},
                {"guessedAccountsWaitTheOwnerGetsIn", (Case) PeerTests::guessedAccountsWaitTheOwnerGetsIn},
                {"aClassSignsInFromOneAddress", (Case) PeerTests::aClassSignsInFromOneAddress},
                {"translationsAndMembersAreLimited", (Case) PeerTests::translationsAndMembersAreLimited},
                {"aTranslationPairIsKeptOnce", (Case) PeerTests::aTranslationPairIsKeptOnce},
                {"uploadsAndFeedbackAreThrottled", (Case) PeerTests::uploadsAndFeedbackAreThrottled},
                {"everyMediaNameIsChecked", (Case) PeerTests::everyMediaNameIsChecked},
                {"soundRuleMatchesThePlayer", (Case) SoundRuleTests::rulesMatchThePlayer},
            });
        }
        System.out.println(failed == 0 ? "All passed" : failed + " failed");
        System.exit(failed == 0 ? 0 : 1);
    }

    /** Each request type with the status it answers, signed in or not. */
    static void requestTypesAnswer() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            Check.equal("1", f.register("ann_lee", "pw", "ann@example.org").status(), "register");
            f.register("bob_ray", "pw", "");
            Check.equal("1", f.login("ann_lee", "pw").status(), "login");
            String ex = f.uploadExercise("ann_lee", "casa", "spa", "Ann");
            // user, type, body, status, reply element holding the answer
            Object[][] rows = {
                // Without a mail server no reminder can be sent.
                {null, "passwordReminder", "<username>ann_lee</username>", "-2", "passwordReminderReply"},
                {null, "passwordReminder", "<username>nobody</username>", "-2", "passwordReminderReply"},
                {"ann_lee", "updateFluency", "<general><username>ann_lee</username><password>pw</password></general>"
                    + "<fluency><languageID>eng</languageID><nonSpeaking>1</nonSpeaking></fluency>", "1",
                    "updateFluencyReply"},
                {null, "updateFluency", "<general><username>ann_lee</username></general>", "-1", "updateFluencyReply"},
                {"ann_lee", "updateFluency", "<general><username>bob_ray</username></general>", "-1", "updateFluencyReply"},
                {"ann_lee", "feedback", "<comment><![CDATA[Works well]]></comment>", "1", "feedbackReply"},
                {null, "feedback", "<comment><![CDATA[anonymous note]]></comment>", "1", "feedbackReply"},
                {null, "feedback", "<comment></comment>", "-1", "feedbackReply"},
                {null, "feedback", "<comment>" + "x".repeat(8001) + "</comment>", "-1", "feedbackReply"},
                {null, "exerciseQuery", "<term>cas</term><query_langID>spa</query_langID>", "1", "exerciseQueryReply"},
                {null, "lessonQuery", "<title/><description/><query_langID>spa</query_langID>", "1",
                    "lessonQueryReply"},
                {null, "uploadExercise", PeerFixture.exercise("perro", "spa", "x", null), "-1", "uploadExerciseReply"},
                {"ann_lee", "uploadExercise", PeerFixture.exercise("", "spa", "x", null), "-1", "uploadExerciseReply"},
                {"ann_lee", "uploadLesson", PeerFixture.lesson("L", "d", "spa", ex), "1", "uploadLessonReply"},
                {"ann_lee", "uploadLesson", PeerFixture.lesson("L", "d", "spa", "0"), "-1", "uploadLessonReply"},
                {"ann_lee", "uploadLesson", PeerFixture.lesson("", "d", "spa", ex), "-1", "uploadLessonReply"},
                {"ann_lee", "uploadTranslation", "<translation><exercises><exercise persistentManifestID=\"" + ex
                    + "\"/></exercises></translation>", "-1", "uploadTranslationReply"},
                {null, "downloadExercise", "<persistentManifestID>" + ex + "</persistentManifestID>", "1",
                    "downloadExerciseReply"},
                {null, "downloadExercise", "<persistentManifestID>nope</persistentManifestID>", "-1",
                    "downloadExerciseReply"},
                {null, "downloadLesson", "<persistentManifestID>nope</persistentManifestID>", "-1",
                    "downloadLessonReply"},
                {null, "downloadTranslation", "<persistentManifestID>" + ex + "</persistentManifestID>", "-1",
                    "downloadTranslationReply"},
            };
            for (Object[] r : rows) {
                PeerFixture.Answer a = f.send((String) r[0], (String) r[1], (String) r[2]);
                String what = r[1] + " as " + r[0] + " (" + ((String) r[2]).substring(0,
                        Math.min(40, ((String) r[2]).length())) + ")";
                Check.equal(r[3], a.status(), what + ": " + a.text);
                Check.equal(r[4], a.at("header", "type"), what + " type");
                if (!r[3].equals("1")) {
                    Check.isTrue(!a.at("body", (String) r[4], "error_description").isEmpty(), what + " explains");
                }
            }
            // A refused lesson upload also carries its text where every upload's error is read.
            PeerFixture.Answer refused = f.send("ann_lee", "uploadLesson", PeerFixture.lesson("L", "d", "spa", "0"));
            Check.isTrue(!refused.at("body", "uploadExerciseReply", "error_description").isEmpty(),
                    "lesson refusal under uploadExerciseReply");
        }
    }

    static void registrationRefusesNameInOtherCase() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            Check.equal("1", f.register("Zoe.bee", "pw", "z@example.org").status(), "first");
            // The registration form's characters only: composed, decomposed and sharp letters are refused.
            String[][] rows = {{"Zoe.bee", "-1"}, {"zoe.BEE", "-1"}, {"ZOE.BEE", "-1"}, {"Zoe_cee", "1"}, {"Zoe.bee2", "1"},
                {"", "-3"}, {"jos\u00e9", "-3"}, {"jose\u0301", "-3"}, {"stra\u00dfe", "-3"}, {"STRASSE", "1"},
                {"strasse", "-1"}, {"a b", "-3"}, {"x".repeat(17), "-3"}, {"x".repeat(16), "1"}, {"short", "-3"},
                {"six_ch", "1"}};
            for (String[] r : rows) {
                PeerFixture.Answer a = f.register(r[0], "other", "");
                Check.equal(r[1], a.status(), "register " + r[0]);
                if (!r[1].equals("1")) {
                    Check.isTrue(!a.at("body", "registerReply", "error_description").isEmpty(), "explained " + r[0]);
                }
            }
            Check.equal(6, f.counts().get("users"), "users stored");
            Check.equal(6, f.counts().get("fluencies"), "fluencies stored");
        }
    }

    static void loginChecksPassword() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("Ann_Lee", "Secret-1", "a@example.org");
            // name, password, status, session handed out
            Object[][] rows = {
                {"Ann_Lee", "Secret-1", "1", true},
                {"ANN_LEE", "Secret-1", "1", true},
                {"Ann_Lee", "secret-1", "-1", false},
                {"Ann_Lee", "", "-1", false},
                {"Nobody", "Secret-1", "-1", false},
            };
            for (Object[] r : rows) {
                PeerFixture.Answer a = f.send(null, "login", "<username><![CDATA[" + r[0]
                        + "]]></username><password><![CDATA[" + r[1] + "]]></password>");
                Check.equal(r[2], a.status(), "login " + r[0] + "/" + r[1]);
                Check.equal(r[3], a.session != null && !a.session.isEmpty(), "session for " + r[0] + "/" + r[1]);
            }
            PeerFixture.Answer ok = f.login("ann_lee", "Secret-1");
            Check.equal("Ann_Lee", ok.at("body", "loginReply", "user", "general", "username"), "stored spelling");
            Check.equal("Secret-1", ok.at("body", "loginReply", "user", "general", "password"), "password for offline use");
            Check.equal("spa", ok.at("body", "loginReply", "user", "fluency", "languageID"), "fluency");
            Check.equal("ES", ok.at("body", "loginReply", "user", "general", "countryID"), "country");
        }
    }

    static void passwordsAreStoredHashed() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "Plain-Text-Password", "a@example.org");
            f.register("bob_ray", "Plain-Text-Password", "b@example.org");
            try (Connection db = DriverManager.getConnection("jdbc:sqlite:" + f.dir.resolve("data/peer.db"));
                    Statement s = db.createStatement();
                    ResultSet rs = s.executeQuery("SELECT salt, hash, iterations FROM users ORDER BY username")) {
                List<byte[]> hashes = new ArrayList<>();
                while (rs.next()) {
                    Check.equal(16, rs.getBytes(1).length, "salt size");
                    Check.isTrue(rs.getInt(3) >= 100_000, "iterations");
                    hashes.add(rs.getBytes(2));
                }
                Check.equal(2, hashes.size(), "rows");
                Check.isTrue(!Arrays.equals(hashes.get(0), hashes.get(1)), "same password, different hashes");
            }
            f.peer.stop();
            byte[] file = Files.readAllBytes(f.dir.resolve("data/peer.db"));
            Check.isTrue(!new String(file, StandardCharsets.ISO_8859_1).contains("Plain-Text-Password"),
                    "password not in the data file");
            f.restart();
        }
    }

    static void uploadsNeedTheirUsersSession() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "");
            f.register("bob_ray", "pw", "");
            String ann = f.userId("ann_lee", "pw");
            f.userId("bob_ray", "pw");
            Map<String, Integer> before = f.counts();
            // session user, supplier named in the manifest, status
            String[][] rows = {{null, null, "-1"}, {null, ann, "-1"}, {"bob_ray", ann, "-1"}, {"ann_lee", "-1", "-1"}};
            for (String[] r : rows) {
                PeerFixture.Answer a = f.send(r[0], "uploadExercise", PeerFixture.exercise("t", "spa", "v", r[1]));
                Check.equal(r[2], a.status(), "upload as " + r[0] + " for " + r[1]);
            }
            Check.equal(before, f.counts(), "refusals store nothing");
            PeerFixture.Answer own = f.send("ann_lee", "uploadExercise", PeerFixture.exercise("t", "spa", "v", ann));
            Check.equal("1", own.status(), "own upload");
            Element manifest = Xml.at(own.root(), "body", "uploadExerciseReply", "exercise");
            String pmid = Xml.attr(manifest, "persistentManifestID");
            Check.isTrue(!pmid.equals("0") && !pmid.equals("-1") && pmid.length() <= 36, "persistent id " + pmid);
            PeerFixture.Answer down = f.send(null, "downloadExercise", "<persistentManifestID>" + pmid
                    + "</persistentManifestID>");
            Element ex = down.element("body", "downloadExerciseReply", "exercise");
            Check.equal("ann_lee", Xml.attr(Xml.child(ex, "manifest"), "suppliedByUserName"), "supplier name");
            Check.equal(ann, Xml.attr(Xml.at(ex, "media", "manifest"), "suppliedByUserID"), "voice supplier id");
            Check.equal("", Xml.attr(Xml.child(ex, "manifest"), "localManifestID"), "local ids dropped");
            Element kvp = Xml.at(ex, "kvps", "kvp");
            Check.equal("ctx t", Xml.attr(kvp, "kvpValue"), "key-value pair as attributes");
            Check.equal(null, kvp.getFirstChild(), "key-value pair without children");
            Check.equal("", Xml.text(ex, "media", "media_manifest", "mediaManifestFileName"),
                    "no sound named without a sound");
        }
    }

    static void searchPagesAndTotals() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "");
            f.login("ann_lee", "pw");
            List<String> ids = new ArrayList<>();
            for (int i = 0; i < 45; i++) {
                ids.add(f.uploadExercise("ann_lee", "Palabra " + i, "spa", "Ann"));
            }
            f.uploadExercise("ann_lee", "palabra inglesa", "eng", "Ann");
            f.uploadExercise("ann_lee", "otra cosa", "spa", "Ann");
            // term, language, max_results, page_num, total, items, first item's index
            Object[][] rows = {
                {"PALABRA", "spa", "20", "1", 45, 20, 0},
                {"palabra", "spa", "20", "2", 45, 20, 20},
                {"palabra", "spa", "20", "3", 45, 5, 40},
                {"palabra", "spa", "20", "4", 45, 0, -1},
                {"abra 4", "spa", "5", "1", 6, 5, 4},
                {"palabra", "spa", "", "", 45, 20, 0},
                {"palabra", "spa", "x", "0", 45, 20, 0},
                {"palabra", "eng", "20", "1", 1, 1, -1},
                {"nada", "spa", "20", "1", 0, 0, -1},
            };
            for (Object[] r : rows) {
                PeerFixture.Answer a = f.send(null, "exerciseQuery", "<term><![CDATA[" + r[0] + "]]></term>"
                        + "<query_langID>" + r[1] + "</query_langID><results_langID/><results_voice/>"
                        + "<max_results>" + r[2] + "</max_results><page_num>" + r[3] + "</page_num>");
                String what = Arrays.toString(r);
                Check.equal("1", a.status(), what);
                Check.equal(String.valueOf(r[4]), a.at("body", "exerciseQueryReply", "total_result_available"), what);
                List<Element> found = Xml.children(a.element("body", "exerciseQueryReply"), "exercise");
                Check.equal(r[5], found.size(), what + " items");
                if ((Integer) r[6] >= 0) {
                    Check.equal(ids.get((Integer) r[6]),
                            Xml.attr(Xml.child(found.get(0), "manifest"), "persistentManifestID"), what + " first");
                }
            }
        }
    }

    static void searchFilters() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "");
            f.login("ann_lee", "pw");
            f.uploadExercise("ann_lee", "gato", "spa", "Ann");
            f.uploadExercise("ann_lee", "gatito", "spa", "Bea");
            // extra criteria, total
            Object[][] rows = {
                {"", 2},
                {"<results_voice>bea</results_voice>", 1},
                {"<results_voice>Cid</results_voice>", 0},
                {"<results_fluencyLevelID>3</results_fluencyLevelID>", 2},
                {"<results_fluencyLevelID>1</results_fluencyLevelID>", 0},
                {"<results_learnerLevelID>2</results_learnerLevelID><results_langID>spa</results_langID>", 2},
            };
            for (Object[] r : rows) {
                PeerFixture.Answer a = f.send(null, "exerciseQuery",
                        "<term>gat</term><query_langID>spa</query_langID>" + r[0] + "<max_results>20</max_results>");
                Check.equal(String.valueOf(r[1]), a.at("body", "exerciseQueryReply", "total_result_available"),
                        "filter " + r[0]);
            }
        }
    }

    /** The index's answers against every entry looked at in turn, with and without entries replaced on the way. */
    static void indexFindsWhatAScanFinds() throws Exception {
        for (boolean replacing : new boolean[] {true, false}) {
            indexFindsWhatAScanFinds(replacing);
        }
    }

    static void indexFindsWhatAScanFinds(boolean replacing) throws Exception {
        java.util.Random random = new java.util.Random(7);
        String[] syllables = {"ma", "ña", "ca", "Sa", "pe", "ro", "li", "to", " ", "ven", "ÄÖ", "𝄞"};
        String[] langs = {"spa", "eng", "SPA ", ""};
        String[] voices = {"ann", "bea", ""};
        SearchIndex index = new SearchIndex("results_voice");
        Map<String, String[]> scan = new java.util.LinkedHashMap<>();
        for (int i = 0; i < 600; i++) {
            // every fifth add gives an earlier id new values
            String id = replacing && i % 5 == 4 ? "e" + random.nextInt(i) : "e" + i;
            StringBuilder term = new StringBuilder();
            for (int k = random.nextInt(5); k >= 0; k--) {
                term.append(syllables[random.nextInt(syllables.length)]);
            }
            String[] row = {langs[random.nextInt(langs.length)], term.toString(), voices[random.nextInt(voices.length)],
                null};
            if (i % 3 == 0) {
                // a second text, as a lesson's description; a match never spans two texts
                row[3] = syllables[random.nextInt(syllables.length)] + syllables[random.nextInt(syllables.length)];
                index.add(id, row[0], new String[] {row[1], row[3]}, new String[] {row[2]});
            } else {
                index.add(id, row[0], new String[] {row[1]}, new String[] {row[2]});
            }
            scan.put(id, row);
        }
        // The index read back from its file answers as the one built.
        java.nio.file.Path file = Files.createTempFile("vireda-index", ".index");
        try {
            index.save(file, 42);
            SearchIndex.Saved saved = SearchIndex.load(file, "results_voice");
            Check.isTrue(saved != null, "read back");
            Check.equal(42L, saved.stamp, "stamp read back");
            Check.equal(null, SearchIndex.load(file, "results_other"), "a file of other filters");
            byte[] bytes = Files.readAllBytes(file);
            Files.write(file, Arrays.copyOf(bytes, bytes.length - 9));
            Check.equal(null, SearchIndex.load(file, "results_voice"), "a cut file");
            Files.write(file, new byte[0]);
            Check.equal(null, SearchIndex.load(file, "results_voice"), "an empty file");
            compareWithScan(index, scan, replacing);
            compareWithScan(saved.index, scan, replacing);
        } finally {
            Files.deleteIfExists(file);
        }
    }

    private static void compareWithScan(SearchIndex index, Map<String, String[]> scan, boolean replacing) {
        String[] voices = {"ann", "bea", ""};
        String[] needles = {"", "a", "ñ", "ma", "Ma", "a ", "mac", "rov", "ven", "maca", "ro li", "𝄞", "äö", "x",
            "zzzz", "pemapema", "mamama", "caroli", "to ven", "venmaca", "lito sa", "maña", "𝄞ma"};
        for (String lang : new String[] {"", "spa", "eng", "fra"}) {
            for (String needle : needles) {
                for (String voice : voices) {
                    List<String> expected = new ArrayList<>();
                    for (Map.Entry<String, String[]> e : scan.entrySet()) {
                        String[] row = e.getValue();
                        String n = needle.trim().toLowerCase(java.util.Locale.ROOT);
                        if ((lang.isEmpty() || lang.equals(row[0].trim().toLowerCase(java.util.Locale.ROOT)))
                                && (row[1].trim().toLowerCase(java.util.Locale.ROOT).contains(n) || row[3] != null
                                        && row[3].trim().toLowerCase(java.util.Locale.ROOT).contains(n))
                                && (voice.isEmpty() || voice.equals(row[2]))) {
                            expected.add(e.getKey());
                        }
                    }
                    // a replaced id keeps its place, in the scan as in the index
                    List<String> ordered = expected;
                    String what = (replacing ? "replacing " : "") + lang + "/" + needle + "/" + voice;
                    SearchIndex.Page all = index.search(lang, needle, Map.of("results_voice", voice), 1000, 1);
                    Check.equal(ordered, all.ids, what);
                    Check.equal(ordered.size(), all.total, what + " total");
                    for (int page = 2; page <= 4; page++) {
                        SearchIndex.Page later = index.search(lang, needle, Map.of("results_voice", voice), 7, page);
                        Check.equal(ordered.subList(Math.min(7 * (page - 1), ordered.size()),
                                Math.min(7 * page, ordered.size())), later.ids, what + " page " + page);
                        Check.equal(ordered.size(), later.total, what + " total with page " + page);
                    }
                }
            }
        }
    }

    /** While a write holds the store, searches and sign-ins still read and answer. */
    static void readsDoNotWaitForAWrite() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "");
            f.login("ann_lee", "pw");
            String id = f.uploadExercise("ann_lee", "gato", "spa", "Ann");
            java.util.concurrent.ExecutorService pool = java.util.concurrent.Executors.newSingleThreadExecutor();
            try {
                synchronized (f.peer.store()) {
                    java.util.concurrent.Future<PeerFixture.Answer> search = pool.submit(() -> f.send(null,
                            "exerciseQuery", "<term>gat</term><query_langID>spa</query_langID>"));
                    PeerFixture.Answer a = search.get(20, java.util.concurrent.TimeUnit.SECONDS);
                    Check.equal(id, Xml.attr(Xml.child(Xml.children(a.element("body", "exerciseQueryReply"),
                            "exercise").get(0), "manifest"), "persistentManifestID"), "found during a write");
                    java.util.concurrent.Future<PeerFixture.Answer> login = pool.submit(() -> f.login("ann_lee", "pw"));
                    Check.equal("1", login.get(20, java.util.concurrent.TimeUnit.SECONDS).status(),
                            "signed in during a write");
                }
            } finally {
                pool.shutdownNow();
            }
        }
    }

    /**
     * The content service starts while its index cannot yet be read (the store is held), a
     * search then waits for the index and finds what was stored, and an upload comes after it.
     */
    static void searchesWaitForTheIndexTheStartDoesNot() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "");
            f.login("ann_lee", "pw");
            f.uploadExercise("ann_lee", "gato", "spa", "Ann");
            f.uploadExercise("ann_lee", "gatito", "spa", "Ann");
            f.peer.stop();
            startWithIndexHeld(f.dir.resolve("data"));
        }
    }

    private static void startWithIndexHeld(java.nio.file.Path data) throws Exception {
        java.util.concurrent.ExecutorService pool = java.util.concurrent.Executors.newFixedThreadPool(2);
        try (com.vireda.peer.PeerStore store = new com.vireda.peer.PeerStore(data)) {
            Element query = Xml.parse("<exerciseQuery><term>gat</term><query_langID>spa</query_langID>"
                    + "</exerciseQuery>").getDocumentElement();
            String[] answer = new String[1];
            com.vireda.peer.ContentService content;
            Thread searching;
            synchronized (store) {
                content = pool.submit(() -> new com.vireda.peer.ContentService(store, data.resolve("media")))
                        .get(20, java.util.concurrent.TimeUnit.SECONDS);
                com.vireda.peer.ContentService started = content;
                searching = new Thread(() -> {
                    try {
                        answer[0] = started.exerciseQuery(query).text;
                    } catch (java.sql.SQLException e) {
                        answer[0] = e.toString();
                    }
                });
                searching.start();
                // the search either answers at once or waits for the index
                while (searching.isAlive() && searching.getState() != Thread.State.WAITING) {
                    Thread.onSpinWait();
                }
            }
            searching.join(20_000);
            Check.isTrue(!searching.isAlive(), "the search answered once the index was read");
            Element reply = Xml.parse(answer[0]).getDocumentElement();
            Check.equal("2", Xml.text(reply, "body", "exerciseQueryReply", "total_result_available"),
                    "found once the index was read");
            content.addExercises(List.of(new com.vireda.peer.PeerStore.Exercise("NEW-1", "NEW-T", "NEW-M", "u",
                    "gata", "spa", new String[] {"spa", "", "", "", "", "", "", "", ""}, null,
                    "<exercise><manifest persistentManifestID=\"NEW-1\"/></exercise>")));
            reply = Xml.parse(content.exerciseQuery(query).text).getDocumentElement();
            Check.equal("3", Xml.text(reply, "body", "exerciseQueryReply", "total_result_available"),
                    "an exercise added after the index was read");
            List<Element> found = Xml.children(Xml.at(reply, "body", "exerciseQueryReply"), "exercise");
            Check.equal("NEW-1", Xml.attr(Xml.child(found.get(2), "manifest"), "persistentManifestID"), "last in order");
        } finally {
            pool.shutdownNow();
        }
    }

    /**
     * Documents asked for again, and again after enough others to push them out of memory,
     * come back as the first time: in the order asked, unknown and oversized ones left out.
     */
    static void documentsReadAgainAnswerAsTheFirstTime() throws Exception {
        java.nio.file.Path dir = java.nio.file.Files.createTempDirectory("vireda-docs");
        try (com.vireda.peer.PeerStore store = new com.vireda.peer.PeerStore(dir)) {
            String[] noFilters = new String[com.vireda.peer.PeerStore.EXERCISE_FILTERS.length];
            List<com.vireda.peer.PeerStore.Exercise> rows = new ArrayList<>();
            // 3,000 documents of 2,000 characters: more than memory keeps
            for (int i = 0; i < 3000; i++) {
                String doc = "<exercise id=\"e" + i + "\">" + "x".repeat(2000) + "</exercise>";
                if (i == 1) {
                    doc = "<exercise>" + "y".repeat(com.vireda.peer.PeerStore.MAX_DOC_CHARS) + "</exercise>";
                }
                rows.add(new com.vireda.peer.PeerStore.Exercise("e" + i, "t" + i, "m" + i, "u", "term " + i, "spa",
                        noFilters, null, doc));
            }
            store.insertExercises(rows);
            List<String> asked = List.of("e2", "e1", "e0", "nobody", "e2", "e2999");
            List<String> expected = List.of(rows.get(2).doc(), rows.get(0).doc(), rows.get(2).doc(),
                    rows.get(2999).doc());
            Check.equal(expected, store.exerciseDocs(asked), "first read");
            Check.equal(expected, store.exerciseDocs(asked), "read again");
            Check.equal(null, store.exerciseDoc("e1"), "oversized, read again");
            for (int i = 3; i < 3000; i += 50) {
                store.exerciseDocs(rows.subList(i, Math.min(i + 50, 3000)).stream()
                        .map(com.vireda.peer.PeerStore.Exercise::pmid).collect(java.util.stream.Collectors.toList()));
            }
            Check.equal(expected, store.exerciseDocs(asked), "read after many others");
            Check.equal(List.of(), store.lessonDocs(List.of("e2")), "an exercise is not a lesson");
        } finally {
            PeerFixture.deleteTree(dir);
        }
    }

    /** Reads from many threads at once each get their own answer, through no more than READERS connections. */
    static void manyReadsShareAFewConnections() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "");
            f.login("ann_lee", "pw");
            List<String> ids = new ArrayList<>();
            for (String term : new String[] {"gato", "perro", "casa", "mesa"}) {
                ids.add(f.uploadExercise("ann_lee", term, "spa", "Ann"));
            }
            com.vireda.peer.PeerStore store = f.peer.store();
            int threads = 4 * com.vireda.peer.PeerStore.READERS;
            java.util.concurrent.CyclicBarrier start = new java.util.concurrent.CyclicBarrier(threads);
            java.util.concurrent.ExecutorService pool = java.util.concurrent.Executors.newFixedThreadPool(threads);
            try {
                List<java.util.concurrent.Future<String>> results = new ArrayList<>();
                for (int t = 0; t < threads; t++) {
                    int n = t;
                    results.add(pool.submit(() -> {
                        start.await();
                        for (int i = 0; i < 200; i++) {
                            String id = ids.get((n + i) % ids.size());
                            String doc = store.exerciseDoc(id);
                            if (doc == null || !doc.contains(id)) {
                                return "read " + id + " gave " + doc;
                            }
                            if (store.findUser("ANN_LEE") == null) {
                                return "the user was not found";
                            }
                        }
                        return "";
                    }));
                }
                for (java.util.concurrent.Future<String> r : results) {
                    Check.equal("", r.get(60, java.util.concurrent.TimeUnit.SECONDS), "every read answered");
                }
            } finally {
                pool.shutdownNow();
            }
            Check.isTrue(store.openReaders() >= 1 && store.openReaders() <= com.vireda.peer.PeerStore.READERS,
                    "read connections opened: " + store.openReaders());
        }
    }

    /** A rush of hashes started together: no more than the bound run at once, and each gives the right hash. */
    static void hashingIsBounded() throws Exception {
        int threads = 3 * PasswordHasher.AT_ONCE + 1;
        byte[] salt = PasswordHasher.newSalt();
        byte[] expected = PasswordHasher.hash("secret", salt, 20_000);
        java.util.concurrent.CyclicBarrier start = new java.util.concurrent.CyclicBarrier(threads);
        java.util.concurrent.ExecutorService pool = java.util.concurrent.Executors.newFixedThreadPool(threads);
        try {
            List<java.util.concurrent.Future<Boolean>> results = new ArrayList<>();
            for (int i = 0; i < threads; i++) {
                results.add(pool.submit(() -> {
                    start.await();
                    return PasswordHasher.matches("secret", salt, 20_000, expected);
                }));
            }
            for (java.util.concurrent.Future<Boolean> r : results) {
                Check.isTrue(r.get(60, java.util.concurrent.TimeUnit.SECONDS), "the hash matches");
            }
        } finally {
            pool.shutdownNow();
        }
        Check.isTrue(PasswordHasher.mostAtOnce() <= PasswordHasher.AT_ONCE,
                "at most " + PasswordHasher.AT_ONCE + " at once, saw " + PasswordHasher.mostAtOnce());
    }

    static void lessonSearchAndDownload() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "");
            f.login("ann_lee", "pw");
            String a = f.uploadExercise("ann_lee", "uno", "spa", "Ann");
            String b = f.uploadExercise("ann_lee", "dos", "spa", "Ann");
            PeerFixture.Answer up = f.send("ann_lee", "uploadLesson",
                    PeerFixture.lesson("Números", "Contar hasta dos", "spa", a, b));
            String lesson = Xml.attr(up.element("body", "uploadLessonReply", "lesson"), "persistentManifestID");
            Check.isTrue(!lesson.isEmpty(), "lesson id");
            // title text, description text, language, total
            Object[][] rows = {
                {"núm", "núm", "spa", 1}, {"CONTAR", "CONTAR", "spa", 1}, {"", "", "spa", 1},
                {"núm", "núm", "eng", 0}, {"tres", "tres", "spa", 0},
            };
            for (Object[] r : rows) {
                PeerFixture.Answer q = f.send(null, "lessonQuery", "<title><![CDATA[" + r[0]
                        + "]]></title><description><![CDATA[" + r[1] + "]]></description><query_langID>" + r[2]
                        + "</query_langID>");
                Check.equal(String.valueOf(r[3]), q.at("body", "lessonQueryReply", "total_result_available"),
                        "lesson search " + Arrays.toString(r));
            }
            PeerFixture.Answer q = f.send(null, "lessonQuery", "<title>Núm</title><query_langID>spa</query_langID>");
            Element found = Xml.child(q.element("body", "lessonQueryReply"), "lesson");
            Check.equal("ann_lee", Xml.attr(Xml.child(found, "manifest"), "suppliedByUserName"), "lesson supplier");
            Check.equal("1", Xml.attr(Xml.child(found, "textual_manifest"), "learnerLevelID"), "learner level");
            List<Element> members = Xml.children(Xml.child(found, "exercises"), "exercise");
            Check.equal(2, members.size(), "members");
            Check.equal(b, Xml.attr(members.get(1), "persistentManifestID"), "second member");
            Check.equal("2", Xml.attr(members.get(1), "sequenceNb"), "second sequence");
            PeerFixture.Answer down = f.send(null, "downloadLesson", "<persistentManifestID>" + lesson
                    + "</persistentManifestID>");
            Element l = down.element("body", "uploadLesson", "lesson");
            Check.equal("2", Xml.attr(l, "numChildren"), "downloaded lesson children");
            Check.equal("Números", Xml.text(l, "textual_manifest", "manifestTitle"), "downloaded title");
        }
    }

    static void badInputChangesNothing() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "");
            f.login("ann_lee", "pw");
            f.uploadExercise("ann_lee", "casa", "spa", "Ann");
            Map<String, Integer> before = f.counts();
            String session = f.sessions.get("ann_lee");
            byte[] big = new byte[(1 << 20) + 10];
            Arrays.fill(big, (byte) 'a');
            String xxe = "<?xml version=\"1.0\"?><!DOCTYPE m [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
                    + "<message><header><type>feedback</type></header><body><feedback><comment>&x;</comment>"
                    + "</feedback></body></message>";
            // path, body, extra header name/value, HTTP status
            Object[][] rows = {
                {"/message", "<message><header>", null, null, 400},
                {"/message", "plain text", null, null, 400},
                {"/message", "<other/>", null, null, 400},
                {"/message", PeerFixture.message("dropTables", "<x/>"), null, null, 400},
                {"/message", "<message><header><type>login</type></header><body><register/></body></message>", null,
                    null, 400},
                {"/message", xxe, null, null, 400},
                {"/message", new String(big, StandardCharsets.US_ASCII), null, null, 413},
                {"/upload", PeerFixture.message("uploadExercise", PeerFixture.exercise("t", "spa", "v", null)),
                    "X-Vireda-Session", session, 400},
                {"/upload", PeerFixture.message("uploadLesson", "<lesson/>") + "SOUND", "X-Vireda-Message-Length",
                    String.valueOf(PeerFixture.message("uploadLesson", "<lesson/>").length()), 400},
                {"/upload", "<m/>", "X-Vireda-Message-Length", "900000000", 413},
                {"/upload", "<m/>", "X-Vireda-Message-Length", "50", 400},
            };
            for (Object[] r : rows) {
                Map<String, String> headers = new java.util.LinkedHashMap<>();
                if (r[2] != null) {
                    headers.put((String) r[2], (String) r[3]);
                }
                Object body = r[1];
                PeerFixture.Answer a = f.post((String) r[0], ((String) body).getBytes(StandardCharsets.UTF_8), headers);
                String what = r[0] + " " + ((String) body).substring(0, Math.min(50, ((String) body).length()));
                Check.equal(r[4], a.code, what);
                Check.equal("-1", a.status(), what + " status");
                Check.isTrue(!a.at("body", "errorReply", "error_description").isEmpty(), what + " explains");
            }
            Check.equal(404, f.get("/media/..%2Fpeer.db"), "path outside the media folder");
            Check.equal(404, f.get("/media/unknown.wav"), "unknown sound");
            Check.equal(before, f.counts(), "nothing changed");
            Check.equal(200, f.get("/ping"), "still serving");
        }
    }

    /**
     * A stopped peer keeps its search index in a file (owner-only) and reads it at the next start
     * instead of the store, then adds what the store holds after it; a file that does not fit
     * the store is not used.
     */
    static void indexFileIsReadBackAndCaughtUp() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "");
            f.login("ann_lee", "pw");
            String first = f.uploadExercise("ann_lee", "ventana", "spa", "Ann");
            f.peer.stop();
            java.nio.file.Path data = f.dir.resolve("data");
            java.nio.file.Path file = data.resolve(com.vireda.peer.ContentService.EXERCISES_INDEX);
            Check.equal("rw-------", java.nio.file.attribute.PosixFilePermissions.toString(
                    Files.getPosixFilePermissions(file)), "the index file is the owner's");
            // Changed behind the peer's back: only a peer that read the store would see it.
            try (Connection c = DriverManager.getConnection("jdbc:sqlite:" + data.resolve("peer.db"));
                    Statement s = c.createStatement()) {
                s.executeUpdate("UPDATE exercises SET term = 'puerta' WHERE pmid = '" + first + "'");
            }
            // Stored after the file was written, as when a peer ends without stopping.
            try (com.vireda.peer.PeerStore store = new com.vireda.peer.PeerStore(data)) {
                store.insertExercise(new com.vireda.peer.PeerStore.Exercise("LATE-1", "LATE-T", "LATE-M", "u",
                        "ventanilla", "spa", new String[] {"spa", "", "", "", "", "", "", "", ""}, null,
                        "<exercise><manifest persistentManifestID=\"LATE-1\"/></exercise>"));
            }
            f.peer = com.vireda.peer.PeerService.start(InetAddress.getLoopbackAddress(), 0, data, null);
            PeerFixture.Answer q = f.send(null, "exerciseQuery", "<term>ventan</term><query_langID>spa</query_langID>");
            Check.equal("2", q.at("body", "exerciseQueryReply", "total_result_available"), "file and what came after");
            Check.equal("0", f.send(null, "exerciseQuery", "<term>puerta</term><query_langID>spa</query_langID>")
                    .at("body", "exerciseQueryReply", "total_result_available"), "the file was read, not the store");
            f.peer.stop();
            // A store that no longer holds the file's last entry where it was: the file is not used.
            try (Connection c = DriverManager.getConnection("jdbc:sqlite:" + data.resolve("peer.db"));
                    Statement s = c.createStatement()) {
                s.executeUpdate("DELETE FROM exercises WHERE pmid = 'LATE-1'");
            }
            f.peer = com.vireda.peer.PeerService.start(InetAddress.getLoopbackAddress(), 0, data, null);
            Check.equal("1", f.send(null, "exerciseQuery", "<term>puerta</term><query_langID>spa</query_langID>")
                    .at("body", "exerciseQueryReply", "total_result_available"), "read from the store");
            Check.equal("0", f.send(null, "exerciseQuery", "<term>ventanilla</term><query_langID>spa</query_langID>")
                    .at("body", "exerciseQueryReply", "total_result_available"), "nothing of the file kept");
        }
    }

    static void dataSurvivesRestart() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "a@example.org");
            f.login("ann_lee", "pw");
            String id = f.uploadExercise("ann_lee", "ventana", "spa", "Ann");
            f.restart();
            Check.equal("1", f.login("ann_lee", "pw").status(), "login after restart");
            Check.equal("-1", f.register("ANN_LEE", "x", "").status(), "name still taken");
            PeerFixture.Answer q = f.send(null, "exerciseQuery", "<term>vent</term><query_langID>spa</query_langID>");
            Element ex = Xml.child(q.element("body", "exerciseQueryReply"), "exercise");
            Check.equal(id, Xml.attr(Xml.child(ex, "manifest"), "persistentManifestID"), "found after restart");
        }
    }

    static String nested(int depth, String name, String inner) {
        return ("<" + name + ">").repeat(depth) + inner + ("</" + name + ">").repeat(depth);
    }

    static String attributes(int elements, int count) {
        StringBuilder one = new StringBuilder("<e");
        for (int i = 0; i < count; i++) {
            one.append(" a").append(i).append("=\"").append(i).append('"');
        }
        return one.append("/>").toString().repeat(elements);
    }

    /** Uploads past the limits of a real exercise get a clear refusal; each request is answered. */
    static void hostileUploadsAreRefused() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "");
            f.login("ann_lee", "pw");
            Map<String, Integer> before = f.counts();
            String plain = PeerFixture.exercise("casa", "spa", "Ann", null);
            String longName = "n".repeat(200);
            // what, uploaded exercise, HTTP status
            Object[][] rows = {
                {"2,000 deep with long names", plain.replace("</kvps>", "</kvps>" + nested(2000, longName, "x")), 400},
                {"100,000 deep", plain.replace("</kvps>", "</kvps>" + nested(100_000, "a", "")), 400},
                {"8 elements of 9,000 attributes", plain.replace("</kvps>", "</kvps>" + attributes(8, 9000)), 400},
                {"deeper than stored content may be", plain.replace("</kvps>", "</kvps>" + nested(20, "a", "x")), 200},
                {"more elements than stored content may hold",
                    plain.replace("</kvps>", "</kvps>" + "<a/>".repeat(3000)), 200},
                {"a long element name", plain.replace("</kvps>", "</kvps><" + longName + "/>"), 200},
                {"too much text", plain.replace("</kvps>", "</kvps><a>" + "x".repeat(200_000) + "</a>"), 200},
            };
            for (Object[] r : rows) {
                PeerFixture.Answer a = f.send("ann_lee", "uploadExercise", (String) r[1]);
                Check.equal(r[2], a.code, r[0] + " answered");
                Check.equal("-1", a.status(), r[0] + " refused");
                String why = a.at("body", "uploadExerciseReply", "error_description") + a.at("body", "errorReply",
                        "error_description");
                Check.isTrue(!why.isEmpty(), r[0] + " explained");
            }
            Check.equal(before, f.counts(), "nothing stored");
            Check.equal("1", f.send("ann_lee", "uploadExercise", plain).status(), "a real exercise still goes up");

            // One stored before uploads were checked is not given out.
            String deep = nested(2000, longName, "x");
            f.peer.content().addExercises(List.of(new com.vireda.peer.PeerStore.Exercise("OLD-1", "OLD-T", "OLD-M",
                    "u", "hostil", "spa", new String[] {"spa", "", "", "", "", "", "", "", ""}, null,
                    "<exercise><manifest persistentManifestID=\"OLD-1\"/>" + deep + "</exercise>")));
            PeerFixture.Answer q = f.send(null, "exerciseQuery", "<term>hostil</term><query_langID>spa</query_langID>");
            Check.equal("1", q.status(), "search answered");
            Check.equal(0, Xml.children(q.element("body", "exerciseQueryReply"), "exercise").size(), "left out");
            Check.isTrue(q.text.length() < 4096, "short reply");
        }
    }

    static void sessionsEndAfterADayUnused() throws Exception {
        AtomicLong now = new AtomicLong(1_000_000);
        PeerSettings settings = new PeerSettings();
        settings.clock = now::get;
        try (PeerFixture f = new PeerFixture(settings)) {
            f.register("ann_lee", "pw", "");
            f.login("ann_lee", "pw");
            String first = f.sessions.get("ann_lee");
            String upload = PeerFixture.exercise("casa", "spa", "Ann", null);
            now.addAndGet(Sessions.IDLE_LIMIT_MILLIS - 1000);
            Check.equal("1", f.send("ann_lee", "uploadExercise", upload).status(), "used within a day");
            now.addAndGet(Sessions.IDLE_LIMIT_MILLIS - 1000);
            Check.equal("1", f.send("ann_lee", "uploadExercise", upload).status(), "a day after its last use");
            now.addAndGet(Sessions.IDLE_LIMIT_MILLIS + 1);
            PeerFixture.Answer expired = f.send("ann_lee", "uploadExercise", upload);
            Check.equal("-1", expired.status(), "unused for a day");
            Check.equal("Please sign in before uploading", expired.at("body", "uploadExerciseReply",
                    "error_description"), "asked to sign in");
            f.login("ann_lee", "pw");
            Check.equal("1", f.send("ann_lee", "uploadExercise", upload).status(), "signed in again");
            // Signing in again ends the session the client held before.
            String second = f.sessions.get("ann_lee");
            Map<String, String> headers = Map.of("X-Vireda-Session", second);
            PeerFixture.Answer again = f.post("/message", PeerFixture.message("login",
                    "<username>ann_lee</username><password>pw</password>").getBytes(StandardCharsets.UTF_8), headers);
            Check.equal("1", again.status(), "third sign-in");
            f.sessions.put("ann_lee", second);
            Check.equal("-1", f.send("ann_lee", "uploadExercise", upload).status(), "earlier session ended");
            Check.isTrue(!first.equals(second), "new token each sign-in");
        }
    }

    static void signOutEndsTheSession() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "");
            f.register("bob_ray", "pw", "");
            f.login("ann_lee", "pw");
            f.login("bob_ray", "pw");
            String upload = PeerFixture.exercise("casa", "spa", "Ann", null);
            PeerFixture.Answer out = f.send("ann_lee", "logout", "");
            Check.equal("1", out.status(), "signed out");
            Check.equal("", out.session, "the client is told to forget its token");
            Check.equal("-1", f.send("ann_lee", "uploadExercise", upload).status(), "token ended");
            Check.equal("1", f.send("bob_ray", "uploadExercise", upload).status(), "another user's session stays");
            Check.equal("1", f.send(null, "logout", "").status(), "signing out without a session");
        }
    }

    static void ratesArePerAddress() throws Exception {
        PeerSettings settings = new PeerSettings();
        settings.registrationsPerAddress = 3;
        settings.signInsPerAddress = 5;
        try (PeerFixture f = new PeerFixture(settings)) {
            for (int i = 0; i < 3; i++) {
                Check.equal("1", f.register("user_" + i, "pw", "").status(), "registration " + i);
            }
            PeerFixture.Answer refused = f.register("user_3", "pw", "");
            Check.equal("-4", refused.status(), "fourth registration");
            Check.isTrue(refused.at("body", "registerReply", "error_description").startsWith("Too many registrations"),
                    "explained: " + refused.text);
            for (int i = 0; i < 5; i++) {
                Check.equal("1", f.login("user_0", "pw").status(), "sign-in " + i);
            }
            PeerFixture.Answer busy = f.login("user_0", "pw");
            Check.equal(429, busy.code, "sixth sign-in");
            Check.equal("-4", busy.status(), "sixth sign-in status");
            Check.isTrue(busy.at("body", "loginReply", "error_description").startsWith("Too many sign-ins"),
                    "explained: " + busy.text);
            Check.equal(3, f.counts().get("users"), "users stored");
            Check.equal(200, f.get("/ping"), "other requests still served");
        }
    }

    static void suggestionsKeepNoUser() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "");
            f.login("ann_lee", "pw");
            Check.equal("1", f.send("ann_lee", "feedback", "<comment>Nice</comment>").status(), "signed in");
            Check.equal("1", f.send(null, "feedback", "<comment>Also nice</comment>").status(), "not signed in");
            try (Connection db = DriverManager.getConnection("jdbc:sqlite:" + f.dir.resolve("data/peer.db"));
                    Statement s = db.createStatement();
                    ResultSet rs = s.executeQuery("SELECT count(*), count(uid), max(length(origin)) FROM feedback")) {
                Check.isTrue(rs.next(), "row");
                Check.equal(2, rs.getInt(1), "suggestions stored");
                Check.equal(0, rs.getInt(2), "no user stored");
                Check.equal(0, rs.getInt(3), "no sender address stored");
            }
        }
    }

    static void reminderMailsAOneTimePassword() throws Exception {
        AtomicLong now = new AtomicLong(1_000_000);
        try (SmtpSink sink = new SmtpSink()) {
            PeerSettings settings = new PeerSettings();
            settings.smtpHost = "127.0.0.1";
            settings.smtpPort = sink.port();
            settings.clock = now::get;
            try (PeerFixture f = new PeerFixture(settings)) {
                f.register("Ann.e2e", "old_pw", "ann@example.org");
                f.register("bob_ray", "pw", "");
                // An unknown name and one without a mail address answer as a mailed reminder does.
                for (String name : new String[] {"nobody_at_all", "bob_ray"}) {
                    PeerFixture.Answer a = f.send(null, "passwordReminder", "<username>" + name + "</username>");
                    Check.equal("1", a.status(), "reminder for " + name);
                    Check.equal("", a.at("body", "passwordReminderReply", "error_description"), "no word of " + name);
                }
                Check.equal(0, sink.mails.size(), "nothing mailed yet");

                Check.equal("1", f.send(null, "passwordReminder", "<username>ann.E2E</username>").status(), "sent");
                Check.equal(List.of("<ann@example.org>"), sink.recipients, "to the registered address");
                java.util.regex.Matcher m = java.util.regex.Pattern.compile("\n {4}([A-Za-z0-9]{12})\n")
                        .matcher(sink.mails.get(0));
                Check.isTrue(m.find(), "one-time password in the mail: " + sink.mails.get(0));
                String oneTime = m.group(1);
                Check.isTrue(sink.mails.get(0).contains("Ann.e2e"), "the registered name in the mail");

                Check.equal("1", f.login("ann.e2e", "old_pw").status(), "old password works until it is replaced");
                Check.equal("1", f.login("ann.e2e", oneTime).status(), "one-time password signs in");
                Check.equal("-1", f.login("ann.e2e", "old_pw").status(), "old password replaced");
                Check.equal("1", f.login("ann.e2e", oneTime).status(), "it is the password now");
                Check.equal(0, f.peer.store().count("one_time_passwords"), "used up");

                Check.equal("1", f.send(null, "passwordReminder", "<username>Ann.e2e</username>").status(), "again");
                Check.equal(2, sink.mails.size(), "second mail");
                m = java.util.regex.Pattern.compile("\n {4}([A-Za-z0-9]{12})\n").matcher(sink.mails.get(1));
                Check.isTrue(m.find(), "second one-time password");
                now.addAndGet(25L * 60 * 60 * 1000);
                Check.equal("-1", f.login("ann.e2e", m.group(1)).status(), "expired after a day");
                Check.equal("1", f.login("ann.e2e", oneTime).status(), "password kept");
            }
        }
        // A mail server that does not answer: the reply says so and nothing is kept.
        PeerSettings down = new PeerSettings();
        down.smtpHost = "127.0.0.1";
        try (java.net.ServerSocket closed = new java.net.ServerSocket(0, 1, java.net.InetAddress.getLoopbackAddress())) {
            down.smtpPort = closed.getLocalPort();
        }
        try (PeerFixture f = new PeerFixture(down)) {
            f.register("ann_lee", "pw", "ann@example.org");
            PeerFixture.Answer a = f.send(null, "passwordReminder", "<username>ann_lee</username>");
            Check.equal("-1", a.status(), "mail not sent");
            Check.isTrue(a.at("body", "passwordReminderReply", "error_description").contains("could not be mailed"),
                    "explained: " + a.text);
            Check.equal(0, f.peer.store().count("one_time_passwords"), "nothing kept");
        }
    }

    /** A request element of a type, parsed from its inner text. */
    static Element request(String type, String inner) {
        return Xml.parse("<" + type + ">" + inner + "</" + type + ">").getDocumentElement();
    }

    static Element login(String name, String password) {
        return request("login", "<username>" + name + "</username><password>" + password + "</password>");
    }

    static void remindersAreLimitedAndTellNoNames() throws Exception {
        try (SmtpSink sink = new SmtpSink()) {
            PeerSettings settings = new PeerSettings();
            settings.smtpHost = "127.0.0.1";
            settings.smtpPort = sink.port();
            try (PeerFixture f = new PeerFixture(settings)) {
                f.register("ann_lee", "pw", "ann@example.org");
                // A known and an unknown name: the same answer, word for word but for the time stamp.
                PeerFixture.Answer known = f.send(null, "passwordReminder", "<username>ann_lee</username>");
                PeerFixture.Answer unknown = f.send(null, "passwordReminder", "<username>ann_lea</username>");
                Check.equal(known.code, unknown.code, "same HTTP status");
                Check.equal(known.status(), unknown.status(), "same status");
                Check.equal(Xml.serialize(known.element("body")), Xml.serialize(unknown.element("body")), "same body");
                Check.equal(1, sink.mails.size(), "one mail, to the known name");

                // A flood at one name: the mails stop at the limit, for a known and an unknown name alike.
                List<String> statuses = new ArrayList<>();
                for (int i = 0; i < 50; i++) {
                    statuses.add(f.send(null, "passwordReminder", "<username>ann_lee</username>").status());
                }
                Check.equal(settings.remindersPerName, sink.mails.size(), "mails limited per name");
                Check.equal("-4", statuses.get(statuses.size() - 1), "the flood is refused");
                PeerFixture.Answer more = f.send(null, "passwordReminder", "<username>ann_lee</username>");
                Check.isTrue(more.at("body", "passwordReminderReply", "error_description").startsWith("Too many"),
                        "explained: " + more.text);
            }
        }
        // Names spread: the address's limit holds.
        try (SmtpSink sink = new SmtpSink()) {
            PeerSettings settings = new PeerSettings();
            settings.smtpHost = "127.0.0.1";
            settings.smtpPort = sink.port();
            try (PeerFixture f = new PeerFixture(settings)) {
                int refused = 0;
                for (int i = 0; i < 30; i++) {
                    refused += f.send(null, "passwordReminder", "<username>name_" + i + "</username>").status()
                            .equals("-4") ? 1 : 0;
                }
                Check.equal(30 - settings.remindersPerAddress, refused, "limited per address");
            }
        }
    }

    /**
     * 60 wrong passwords from one address: the owner gets in from there after the wait and from
     * another address at once; wrong passwords spread over many addresses make the account wait.
     */
    static void guessedAccountsWaitTheOwnerGetsIn() throws Exception {
        AtomicLong now = new AtomicLong(1_000_000);
        PeerSettings settings = new PeerSettings();
        settings.clock = now::get;
        java.nio.file.Path dir = Files.createTempDirectory("vireda-guess");
        com.vireda.peer.PeerStore store = new com.vireda.peer.PeerStore(dir);
        try {
            com.vireda.peer.AccountService accounts =
                    new com.vireda.peer.AccountService(store, new Sessions(now::get), settings);
            accounts.register(request("register", "<general><username>ann_lee</username><password>right</password>"
                    + "</general>"), "10.0.0.9");
            String attacker = "10.0.0.1";
            int checked = 0;
            for (int i = 0; i < 60; i++) {
                String status = Xml.text(Xml.parse(accounts.login(login("ann_lee", "guess" + i), attacker, null).text)
                        .getDocumentElement(), "header", "status");
                checked += status.equals("-1") ? 1 : 0;
                Check.isTrue(status.equals("-1") || status.equals("-4"), "refused: " + status);
            }
            Check.equal(settings.freeFailuresPerAccountAndAddress, checked, "guesses checked before the wait");
            com.vireda.peer.Reply waiting = accounts.login(login("ann_lee", "right"), attacker, null);
            Check.equal(429, waiting.httpStatus, "the right password waits too");
            Check.isTrue(waiting.text.contains("Too many wrong passwords"), "explained: " + waiting.text);
            // The same name in other letters is the same account.
            Check.equal(429, accounts.login(login("ANN_LEE", "guess"), attacker, null).httpStatus, "other letters");
            com.vireda.peer.Reply elsewhere = accounts.login(login("ann_lee", "right"), "10.0.0.2", null);
            Check.isTrue(elsewhere.session != null && !elsewhere.session.isEmpty(), "the owner elsewhere gets in");
            now.addAndGet(settings.firstFailureWaitMillis);
            com.vireda.peer.Reply after = accounts.login(login("ann_lee", "right"), attacker, null);
            Check.isTrue(after.session != null && !after.session.isEmpty(), "the owner there gets in after the wait");

            // One guess from each of many addresses: the account waits, wherever the next try comes from.
            now.addAndGet(settings.failuresForgottenMillis);
            int spreadChecked = 0;
            for (int i = 0; i < 60; i++) {
                com.vireda.peer.Reply r = accounts.login(login("ann_lee", "guess" + i), "10.1.0." + i, null);
                spreadChecked += r.httpStatus == 200 ? 1 : 0;
            }
            Check.equal(settings.freeFailuresPerAccount, spreadChecked, "spread guesses slowed for the account");
            Check.equal(429, accounts.login(login("ann_lee", "right"), "10.2.0.1", null).httpStatus,
                    "the account waits");
            now.addAndGet(settings.firstFailureWaitMillis);
            com.vireda.peer.Reply owner = accounts.login(login("ann_lee", "right"), "10.2.0.1", null);
            Check.isTrue(owner.session != null && !owner.session.isEmpty(), "the owner gets in after the wait");
            // Another account is not slowed by it.
            accounts.register(request("register", "<general><username>bob_ray</username><password>pw</password>"
                    + "</general>"), "10.0.0.9");
            Check.equal(200, accounts.login(login("bob_ray", "pw"), "10.1.0.1", null).httpStatus, "others unaffected");
        } finally {
            store.close();
            PeerFixture.deleteTree(dir);
        }
    }

    /** 30 learners behind one address register and then sign in all at once, within the default limits. */
    static void aClassSignsInFromOneAddress() throws Exception {
        try (PeerFixture f = new PeerFixture(new PeerSettings())) {
            for (int i = 0; i < 30; i++) {
                Check.equal("1", f.register("learner_" + i, "pw" + i, "").status(), "registered " + i);
            }
            java.util.concurrent.ExecutorService pool = java.util.concurrent.Executors.newFixedThreadPool(30);
            try {
                List<java.util.concurrent.Future<String>> results = new ArrayList<>();
                for (int i = 0; i < 30; i++) {
                    final int n = i;
                    results.add(pool.submit(() -> {
                        PeerFixture.Answer a = f.send(null, "login",
                                "<username>learner_" + n + "</username><password>pw" + n + "</password>");
                        return a.status();
                    }));
                }
                for (int i = 0; i < 30; i++) {
                    Check.equal("1", results.get(i).get(), "learner " + i + " signed in");
                }
            } finally {
                pool.shutdownNow();
            }
        }
    }

    static void translationsAndMembersAreLimited() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "");
            f.login("ann_lee", "pw");
            String a = f.uploadExercise("ann_lee", "casa", "spa", "Ann");
            List<String> others = new ArrayList<>();
            for (int i = 0; i <= com.vireda.peer.ContentService.MAX_TRANSLATIONS_PER_AUTHOR; i++) {
                others.add(f.uploadExercise("ann_lee", "house" + i, "eng", "Ann"));
            }
            String translation = "<translation><manifest localManifestID=\"3\"/><exercises>"
                    + "<exercise persistentManifestID=\"%s\"/><exercise persistentManifestID=\"%s\"/>"
                    + "</exercises><kvps/></translation>";
            for (int i = 0; i < com.vireda.peer.ContentService.MAX_TRANSLATIONS_PER_AUTHOR; i++) {
                Check.equal("1", f.send("ann_lee", "uploadTranslation", String.format(translation, a, others.get(i)))
                        .status(), "translation " + i);
            }
            PeerFixture.Answer refused = f.send("ann_lee", "uploadTranslation",
                    String.format(translation, a, others.get(others.size() - 1)));
            Check.equal("-1", refused.status(), "one author's limit");
            Check.isTrue(refused.at("body", "uploadExerciseReply", "error_description").contains("most translations"),
                    "explained: " + refused.text);
            Check.equal(com.vireda.peer.ContentService.MAX_TRANSLATIONS_PER_AUTHOR, f.counts().get("translations"),
                    "translations stored");

            // A lesson lists an exercise once.
            PeerFixture.Answer twice = f.send("ann_lee", "uploadLesson", PeerFixture.lesson("L", "d", "spa", a, a));
            Check.equal("-1", twice.status(), "duplicate member");
            Check.isTrue(twice.at("body", "uploadExerciseReply", "error_description").contains("more than once"),
                    "explained: " + twice.text);
            String[] many = new String[com.vireda.peer.ContentService.MAX_LESSON_MEMBERS + 1];
            for (int i = 0; i < many.length; i++) {
                many[i] = i < others.size() ? others.get(i) : "X-" + i;
            }
            PeerFixture.Answer big = f.send("ann_lee", "uploadLesson", PeerFixture.lesson("L", "d", "spa", many));
            Check.equal("-1", big.status(), "too many members");
            Check.isTrue(big.at("body", "uploadExerciseReply", "error_description").contains("at most"),
                    "explained: " + big.text);
            Check.equal(0, f.counts().get("lessons"), "no lesson stored");
            Check.equal("1", f.send("ann_lee", "uploadLesson", PeerFixture.lesson("L", "d", "spa", a, others.get(0)))
                    .status(), "a real lesson goes up");
        }
        // The limit of one exercise in all, from many authors.
        PeerSettings settings = new PeerSettings();
        try (PeerFixture f = new PeerFixture(settings)) {
            f.register("ann_lee", "pw", "");
            f.login("ann_lee", "pw");
            String a = f.uploadExercise("ann_lee", "casa", "spa", "Ann");
            for (int i = 0; i < com.vireda.peer.ContentService.MAX_TRANSLATIONS_PER_EXERCISE; i++) {
                String other = f.uploadExercise("ann_lee", "w" + i, "eng", "Ann");
                f.peer.store().insertTranslation(new com.vireda.peer.PeerStore.Translation("T-" + i, "user" + i, a,
                        other, "<translation/>"));
            }
            String last = f.uploadExercise("ann_lee", "last", "eng", "Ann");
            PeerFixture.Answer refused = f.send("ann_lee", "uploadTranslation", "<translation><exercises>"
                    + "<exercise persistentManifestID=\"" + a + "\"/><exercise persistentManifestID=\"" + last
                    + "\"/></exercises></translation>");
            Check.equal("-1", refused.status(), "the exercise's limit");
            Check.isTrue(refused.at("body", "uploadExerciseReply", "error_description").contains("most translations"),
                    "explained: " + refused.text);
        }
    }

    /** The same pair given 20 times, in either order, by two authors: one translation, named in every reply. */
    static void aTranslationPairIsKeptOnce() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "");
            f.register("bob_ray", "pw", "");
            f.login("ann_lee", "pw");
            f.login("bob_ray", "pw");
            String a = f.uploadExercise("ann_lee", "casa", "spa", "Ann");
            String b = f.uploadExercise("ann_lee", "house", "eng", "Ann");
            String c = f.uploadExercise("ann_lee", "home", "eng", "Ann");
            String translation = "<translation><manifest localManifestID=\"3\"/><exercises>"
                    + "<exercise persistentManifestID=\"%s\"/><exercise persistentManifestID=\"%s\"/>"
                    + "</exercises><kvps/></translation>";
            java.util.Set<String> named = new java.util.HashSet<>();
            for (int i = 0; i < 20; i++) {
                PeerFixture.Answer kept = f.send(i % 3 == 0 ? "bob_ray" : "ann_lee", "uploadTranslation",
                        i % 2 == 0 ? String.format(translation, a, b) : String.format(translation, b, a));
                Check.equal("1", kept.status(), "upload " + i);
                named.add(kept.element("body", "uploadTranslationReply", "translation")
                        .getAttribute("persistentManifestID"));
            }
            Check.equal(1, named.size(), "every reply names the one kept: " + named);
            Check.equal(1, f.counts().get("translations"), "the pair is kept once");
            Check.equal(1, f.peer.store().translationsOf(a).size(), "the exercise has one translation");
            Check.equal("1", f.send("ann_lee", "uploadTranslation", String.format(translation, a, c)).status(),
                    "another pair is kept too");
            Check.equal(2, f.counts().get("translations"), "two pairs");
        }
    }

    static void uploadsAndFeedbackAreThrottled() throws Exception {
        PeerSettings settings = new PeerSettings();
        settings.uploadsPerAccount = 3;
        settings.uploadsPerAddress = 5;
        settings.feedbackPerAccount = 2;
        settings.feedbackPerAddress = 3;
        try (PeerFixture f = new PeerFixture(settings)) {
            f.register("ann_lee", "pw", "");
            f.register("bob_ray", "pw", "");
            f.login("ann_lee", "pw");
            f.login("bob_ray", "pw");
            String upload = PeerFixture.exercise("casa", "spa", "Ann", null);
            for (int i = 0; i < 3; i++) {
                Check.equal("1", f.send("ann_lee", "uploadExercise", upload).status(), "upload " + i);
            }
            PeerFixture.Answer refused = f.send("ann_lee", "uploadExercise", upload);
            Check.equal("-4", refused.status(), "the account's limit");
            Check.isTrue(refused.at("body", "uploadExerciseReply", "error_description").startsWith("Too many uploads"),
                    "explained: " + refused.text);
            Check.equal("1", f.send("bob_ray", "uploadExercise", upload).status(), "another account");
            Check.equal("1", f.send("bob_ray", "uploadExercise", upload).status(), "another account again");
            Check.equal("-4", f.send("bob_ray", "uploadExercise", upload).status(), "the address's limit");
            Check.equal(5, f.counts().get("exercises"), "exercises stored");

            Check.equal("1", f.send("ann_lee", "feedback", "<comment>one</comment>").status(), "feedback 1");
            Check.equal("1", f.send("ann_lee", "feedback", "<comment>two</comment>").status(), "feedback 2");
            PeerFixture.Answer tooMuch = f.send("ann_lee", "feedback", "<comment>three</comment>");
            Check.equal("-4", tooMuch.status(), "the account's feedback limit");
            Check.isTrue(tooMuch.at("body", "feedbackReply", "error_description").startsWith("Too many suggestions"),
                    "explained: " + tooMuch.text);
            Check.equal("1", f.send(null, "feedback", "<comment>anonymous</comment>").status(), "anonymous");
            Check.equal("-4", f.send(null, "feedback", "<comment>anonymous</comment>").status(),
                    "the address's feedback limit");
            Check.equal(3, f.counts().get("feedback"), "suggestions stored");
        }
    }

    static void everyMediaNameIsChecked() throws Exception {
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "");
            f.login("ann_lee", "pw");
            String plain = PeerFixture.exercise("casa", "spa", "Ann", null);
            String[][] twoNames = {
                {"element and attribute", plain.replace("<media_manifest ",
                        "<media_manifest mediaManifestFileName=\"../../etc/passwd\" ")},
                {"two elements", plain.replace("</media_manifest>",
                        "<mediaManifestFileName>../x.wav</mediaManifestFileName></media_manifest>")},
                {"one elsewhere", plain.replace("</kvps>", "</kvps><mediaManifestFileName>/x</mediaManifestFileName>")},
            };
            for (String[] r : twoNames) {
                PeerFixture.Answer a = f.send("ann_lee", "uploadExercise", r[1]);
                Check.equal("-1", a.status(), r[0] + " refused");
                Check.isTrue(a.at("body", "uploadExerciseReply", "error_description").contains("at most one"),
                        r[0] + " explained: " + a.text);
            }
            Check.equal(0, f.counts().get("exercises"), "nothing stored");
            // One name as an attribute: checked like the element, and not kept without a sound.
            String attr = plain.replace("<mediaManifestFileName>rec.wav</mediaManifestFileName>", "")
                    .replace("<media_manifest ", "<media_manifest mediaManifestFileName=\"../../etc/passwd\" ");
            PeerFixture.Answer a = f.send("ann_lee", "uploadExercise", attr);
            Check.equal("1", a.status(), "one name goes up: " + a.text);
            String pmid = Xml.attr(a.element("body", "uploadExerciseReply", "exercise"), "persistentManifestID");
            PeerFixture.Answer d = f.send(null, "downloadExercise",
                    "<persistentManifestID>" + pmid + "</persistentManifestID>");
            Check.isTrue(!d.text.contains("mediaManifestFileName") && !d.text.contains("passwd"),
                    "no media name given out: " + d.text);
        }
    }

    /** Sends a message with a time limit; its round trip in milliseconds, or fails. */
    static long timed(PeerFixture f, String type, String body, String wantedStatus, Duration limit) throws Exception {
        HttpRequest request = HttpRequest.newBuilder(java.net.URI.create(f.base() + "/message")).timeout(limit)
                .POST(HttpRequest.BodyPublishers.ofString(PeerFixture.message(type, body))).build();
        long start = System.nanoTime();
        HttpResponse<String> r = f.http.send(request, HttpResponse.BodyHandlers.ofString(StandardCharsets.UTF_8));
        long millis = (System.nanoTime() - start) / 1_000_000;
        Check.equal(wantedStatus, Xml.text(Xml.parse(r.body()).getDocumentElement(), "header", "status"),
                type + " answered");
        return millis;
    }

    /**
     * 50 clients that send their request a line or a byte at a time, each every two seconds, for a minute:
     * searches and sign-ins from others are still answered.
     */
    static void slowClientsDoNotStopTheService() throws Exception {
        final int clients = 50;
        final long holdMillis = 60_000;
        final Duration limit = Duration.ofSeconds(3);
        try (PeerFixture f = new PeerFixture()) {
            f.register("ann_lee", "pw", "");
            f.login("ann_lee", "pw");
            f.uploadExercise("ann_lee", "casa", "spa", "Ann");
            List<Socket> slow = new ArrayList<>();
            try {
                for (int i = 0; i < clients; i++) {
                    Socket s = new Socket(InetAddress.getLoopbackAddress(), f.peer.port());
                    String start = i % 2 == 0 ? "POST /message HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                            : "POST /message HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Length: 100000\r\n\r\n<";
                    s.getOutputStream().write(start.getBytes(StandardCharsets.US_ASCII));
                    s.getOutputStream().flush();
                    slow.add(s);
                }
                long end = System.nanoTime() + holdMillis * 1_000_000L;
                long worstSearch = 0;
                long worstSignIn = 0;
                int rounds = 0;
                while (System.nanoTime() - end < 0 && rounds++ < 40) {
                    for (int i = 0; i < slow.size(); i++) {
                        try {
                            OutputStream out = slow.get(i).getOutputStream();
                            out.write((i % 2 == 0 ? "X-Slow: " + rounds + "\r\n" : "a").getBytes(
                                    StandardCharsets.US_ASCII));
                            out.flush();
                        } catch (IOException e) {
                            // the peer gave up on this one: so much the better
                        }
                    }
                    worstSearch = Math.max(worstSearch, timed(f, "exerciseQuery",
                            "<term>cas</term><query_langID>spa</query_langID>", "1", limit));
                    worstSignIn = Math.max(worstSignIn, timed(f, "login",
                            "<username>ann_lee</username><password>pw</password>", "1", limit));
                    Thread.sleep(2000);
                }
                System.out.println("slowest search " + worstSearch + " ms, slowest sign-in " + worstSignIn
                        + " ms, over " + rounds + " rounds with " + clients + " slow clients");
            } finally {
                for (Socket s : slow) {
                    s.close();
                }
            }
        }
    }
}
