package com.vireda.bench;

import java.nio.file.Path;
import java.util.ArrayList;
import java.util.List;
import java.util.Random;
import java.util.UUID;

import com.vireda.peer.ContentService;
import com.vireda.peer.PeerStore;
import com.vireda.xml.Xml;

/** Fills a peer data folder with generated exercises: SeedPeer DIR COUNT. */
public final class SeedPeer {
    private static final String[] SYLLABLES = {"ma", "ña", "ca", "sa", "pe", "ro", "li", "to", "gu", "ven", "ta",
        "ra", "do", "mi", "nu", "bo", "fe", "la", "qui", "zo"};

    private SeedPeer() {
    }

    static String word(Random random) {
        StringBuilder w = new StringBuilder();
        int n = 2 + random.nextInt(3);
        for (int i = 0; i < n; i++) {
            w.append(SYLLABLES[random.nextInt(SYLLABLES.length)]);
        }
        return w.toString();
    }

    static String manifest(String pmid) {
        return "<manifest persistentManifestID=\"" + pmid + "\" suppliedByUserID=\"bench-user\" "
                + "suppliedByUserName=\"bench\" manifestTypeID=\"2\"/>";
    }

    public static void main(String[] args) throws Exception {
        Path dir = Path.of(args[0]);
        int count = Integer.parseInt(args[1]);
        Random random = new Random(20240101L);
        try (PeerStore store = new PeerStore(dir)) {
            ContentService content = new ContentService(store, dir.resolve("media"));
            List<PeerStore.Exercise> batch = new ArrayList<>();
            for (int i = 0; i < count; i++) {
                // One exercise in 2000 holds the word the measurement looks for.
                String term = i % 2000 == 7 ? "la zanahoria " + word(random) : word(random) + " " + word(random);
                String lang = i % 5 == 0 ? "eng" : "spa";
                String pmid = UUID.randomUUID().toString();
                String termPmid = UUID.randomUUID().toString();
                String mediaPmid = UUID.randomUUID().toString();
                String media = UUID.randomUUID() + ".wav";
                String doc = "<exercise>" + manifest(pmid) + "<textual_manifest learnerLevelID=\"2\"><langID>" + lang
                        + "</langID></textual_manifest><term>" + manifest(termPmid)
                        + "<textual_manifest><manifestValue><![CDATA[" + term + "]]></manifestValue><langID>" + lang
                        + "</langID></textual_manifest></term><media>" + manifest(mediaPmid)
                        + "<media_manifest fluencyLevelID=\"3\"><mediaManifestFileName>" + media
                        + "</mediaManifestFileName><voice>bench</voice><langID>" + lang + "</langID>"
                        + "<localeDescriptor>" + Xml.escape("centro") + "</localeDescriptor></media_manifest></media>"
                        + "<kvps/></exercise>";
                String[] filters = {lang, "bench", "", "", "", "", "centro", "3", "2"};
                batch.add(new PeerStore.Exercise(pmid, termPmid, mediaPmid, "bench-user", term, lang, filters, media,
                        doc));
                if (batch.size() == 10_000) {
                    content.addExercises(batch);
                    batch.clear();
                }
            }
            content.addExercises(batch);
            batch.clear();
            // Hostile exercises stored as they were before uploads were checked: nested 2,000 deep with long names.
            String deep = ("<" + "n".repeat(200) + ">").repeat(2000) + "x" + ("</" + "n".repeat(200) + ">").repeat(2000);
            for (int i = 0; i < 20; i++) {
                String pmid = UUID.randomUUID().toString();
                String term = "hostil " + i;
                String doc = "<exercise>" + manifest(pmid) + "<term>" + manifest(UUID.randomUUID().toString())
                        + "<textual_manifest><manifestValue>" + term + "</manifestValue><langID>spa</langID>"
                        + "</textual_manifest></term>" + deep + "</exercise>";
                batch.add(new PeerStore.Exercise(pmid, UUID.randomUUID().toString(), UUID.randomUUID().toString(),
                        "bench-user", term, "spa", new String[] {"spa", "", "", "", "", "", "", "", ""}, null, doc));
            }
            content.addExercises(batch);
            // The peer reads this file at its start instead of the whole store.
            content.saveIndexes();
            System.out.println("seeded " + store.count("exercises") + " exercises in " + dir);
        }
    }
}
