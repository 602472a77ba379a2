package com.vireda.peer;

import java.util.ArrayList;
import java.util.Arrays;
import java.util.HashMap;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.concurrent.locks.ReentrantReadWriteLock;

/**
 * In-memory index of searchable content: a language, the texts a search
 * looks into (lower-cased) and the values of the optional filters. Each
 * language and each piece of one to four characters of the texts keeps the
 * positions of its entries, so a search looks only at the entries of its
 * shortest list.
 */
public final class SearchIndex {
    /** One page of matches with the number of all matches. */
    public static final class Page {
        public final int total;
        public final List<String> ids;

        Page(int total, List<String> ids) {
            this.total = total;
            this.ids = ids;
        }
    }

    private static final class Entry {
        final String id;
        final String language;
        final String[] filters;

        Entry(String id, String language, String[] filters) {
            this.id = id;
            this.language = language;
            this.filters = filters;
        }
    }

    /** Ascending entry positions. */
    private static final class Positions {
        int[] at = new int[2];
        int size;
        /** For a piece's list: how many of its entries each language has, by language number. */
        int[] perLanguage;

        /** False when the position was in the list already. */
        boolean add(int position) {
            if (size > 0 && at[size - 1] >= position) {
                int i = Arrays.binarySearch(at, 0, size, position);
                if (i >= 0) {
                    return false;
                }
                insert(-i - 1, position);
                return true;
            }
            insert(size, position);
            return true;
        }

        void add(int position, int language) {
            if (!add(position)) {
                return;
            }
            if (perLanguage == null || perLanguage.length <= language) {
                perLanguage = Arrays.copyOf(perLanguage == null ? new int[0] : perLanguage, language + 1);
            }
            perLanguage[language]++;
        }

        /** The entries of that language; -1 when the list does not count them. */
        int countOf(int language) {
            if (perLanguage == null && size > 0) {
                return -1;
            }
            return language < 0 || perLanguage == null || language >= perLanguage.length ? 0 : perLanguage[language];
        }

        private void insert(int index, int position) {
            if (size == at.length) {
                at = Arrays.copyOf(at, size + (size >> 1) + 2);
            }
            System.arraycopy(at, index, at, index + 1, size - index);
            at[index] = position;
            size++;
        }
    }

    private static final int LONGEST_PIECE = 4;

    private final String[] filterNames;
    private final List<Entry> entries = new ArrayList<>();
    private final Map<String, Integer> positions = new HashMap<>();
    private final Map<String, Positions> byLanguage = new HashMap<>();
    /** By the piece's length, then keyed by its characters, 16 bits each. */
    private final List<Map<Long, Positions>> byPiece = new ArrayList<>();
    /** The language of each position, as a number of languageCodes. */
    private int[] languageOf = new int[16];
    /**
     * The folded texts of every entry, one entry after another: the number of its texts,
     * then each text's length (two chars, high first) and characters. A search checks the
     * texts here, a look at one place instead of at several objects.
     */
    private char[] texts = new char[256];
    private int textsUsed;
    /** Where the texts of each position begin in texts. */
    private int[] textsOf = new int[16];
    private final Map<String, Integer> languageCodes = new HashMap<>();
    /** True once an entry was replaced: the lists of its old texts still hold it. */
    private boolean replaced;
    /** One instance of each language and filter value. */
    private final Map<String, String> values = new HashMap<>();
    private final ReentrantReadWriteLock lock = new ReentrantReadWriteLock();

    /** filterNames: the request elements that filter, in the order of the values given to add(). */
    public SearchIndex(String... filterNames) {
        this.filterNames = filterNames.clone();
        for (int length = 0; length <= LONGEST_PIECE; length++) {
            byPiece.add(new HashMap<>());
        }
    }

    static String fold(String text) {
        return text == null ? "" : text.trim().toLowerCase(Locale.ROOT);
    }

    private static Long pieceKey(String text, int from, int length) {
        long key = 0;
        for (int i = from; i < from + length; i++) {
            key = (key << 16) | text.charAt(i);
        }
        return key;
    }

    private String shared(String value) {
        String known = values.putIfAbsent(value, value);
        return known == null ? value : known;
    }

    public void add(String id, String language, String[] texts, String[] filterValues) {
        String[] folded = new String[texts.length];
        for (int i = 0; i < texts.length; i++) {
            folded[i] = fold(texts[i]);
        }
        String[] filters = new String[filterNames.length];
        for (int i = 0; i < filters.length; i++) {
            filters[i] = i < filterValues.length ? fold(filterValues[i]) : "";
        }
        String lang = fold(language);
        lock.writeLock().lock();
        try {
            for (int i = 0; i < filters.length; i++) {
                filters[i] = shared(filters[i]);
            }
            Entry entry = new Entry(id, shared(lang), filters);
            Integer at = positions.get(id);
            int position;
            if (at != null) {
                // The old entry's lists keep this position; the search checks every entry it looks at.
                position = at;
                entries.set(position, entry);
                replaced = true;
            } else {
                position = entries.size();
                positions.put(id, position);
                entries.add(entry);
            }
            byLanguage.computeIfAbsent(entry.language, k -> new Positions()).add(position);
            if (position >= languageOf.length) {
                languageOf = Arrays.copyOf(languageOf, position + (position >> 1) + 16);
                textsOf = Arrays.copyOf(textsOf, languageOf.length);
            }
            // A replaced entry's earlier texts stay unused in the arena.
            textsOf[position] = appendTexts(folded);
            int code = languageCodes.computeIfAbsent(entry.language, k -> languageCodes.size());
            languageOf[position] = code;
            for (String text : folded) {
                for (int length = 1; length <= LONGEST_PIECE; length++) {
                    for (int i = 0; i + length <= text.length(); i++) {
                        byPiece.get(length).computeIfAbsent(pieceKey(text, i, length), k -> new Positions())
                                .add(position, code);
                    }
                }
            }
        } finally {
            lock.writeLock().unlock();
        }
    }

    private int appendTexts(String[] folded) {
        if (folded.length > Character.MAX_VALUE) {
            throw new IllegalArgumentException("too many texts");
        }
        long needed = textsUsed + 1L;
        for (String t : folded) {
            needed += 2L + t.length();
        }
        if (needed > Integer.MAX_VALUE - 16) {
            throw new IllegalStateException("the search index is full");
        }
        if (needed > texts.length) {
            texts = Arrays.copyOf(texts, (int) Math.min(Integer.MAX_VALUE - 16, Math.max(needed, texts.length * 2L)));
        }
        int start = textsUsed;
        int at = start;
        texts[at++] = (char) folded.length;
        for (String t : folded) {
            texts[at++] = (char) (t.length() >>> 16);
            texts[at++] = (char) t.length();
            t.getChars(0, t.length(), texts, at);
            at += t.length();
        }
        textsUsed = at;
        return start;
    }

    /** True when one of the texts of the entry at position holds needle (not empty). */
    private boolean textsHold(int position, char[] needle) {
        char[] t = texts;
        int at = textsOf[position];
        int count = t[at++];
        for (int n = 0; n < count; n++) {
            int length = t[at] << 16 | t[at + 1];
            at += 2;
            if (holds(t, at, at + length, needle)) {
                return true;
            }
            at += length;
        }
        return false;
    }

    private static boolean holds(char[] t, int from, int to, char[] needle) {
        char first = needle[0];
        for (int i = from, last = to - needle.length; i <= last; i++) {
            if (t[i] == first) {
                int k = 1;
                while (k < needle.length && t[i + k] == needle[k]) {
                    k++;
                }
                if (k == needle.length) {
                    return true;
                }
            }
        }
        return false;
    }

    public int size() {
        lock.readLock().lock();
        try {
            return entries.size();
        } finally {
            lock.readLock().unlock();
        }
    }

    private static final Positions NONE = new Positions();
    /** Lists of pieces intersected for a long text, shortest first; the text check does the rest. */
    private static final int MOST_INTERSECTED = 4;

    /** The positions of a that are also in b; both ascending. Gallops through b, so a short a costs little. */
    private static Positions intersect(Positions a, Positions b) {
        Positions out = new Positions();
        out.at = new int[a.size];
        int j = 0;
        for (int i = 0; i < a.size && j < b.size; i++) {
            int p = a.at[i];
            if (b.at[j] < p) {
                // b.at[lo] < p; b.at[hi] >= p or hi is the end
                int lo = j;
                int step = 1;
                int hi = j + 1;
                while (hi < b.size && b.at[hi] < p) {
                    lo = hi;
                    step <<= 1;
                    hi = j + step;
                }
                hi = Math.min(hi, b.size);
                int k = Arrays.binarySearch(b.at, lo + 1, hi, p);
                j = k >= 0 ? k : -k - 1;
            }
            if (j < b.size && b.at[j] == p) {
                out.at[out.size++] = p;
                j++;
            }
        }
        return out;
    }

    /**
     * A list holding every entry the search can find, in order; null: every entry. A short
     * text or the language gives a stored list; a longer text the entries holding all of
     * its shortest pieces.
     */
    private Positions candidates(String lang, String needle) {
        Positions best = null;
        if (!lang.isEmpty()) {
            best = byLanguage.getOrDefault(lang, NONE);
        }
        if (needle.length() <= LONGEST_PIECE) {
            if (!needle.isEmpty()) {
                Positions p = byPiece.get(needle.length()).getOrDefault(pieceKey(needle, 0, needle.length()), NONE);
                best = best == null || p.size < best.size ? p : best;
            }
            return best;
        }
        List<Positions> pieces = new ArrayList<>();
        for (int i = 0; i + LONGEST_PIECE <= needle.length(); i++) {
            Positions p = byPiece.get(LONGEST_PIECE).getOrDefault(pieceKey(needle, i, LONGEST_PIECE), NONE);
            if (p.size == 0) {
                return NONE;
            }
            pieces.add(p);
        }
        pieces.sort((a, b) -> Integer.compare(a.size, b.size));
        Positions found = pieces.get(0);
        for (int i = 1; i < Math.min(pieces.size(), MOST_INTERSECTED) && found.size > 0; i++) {
            if (pieces.get(i) != pieces.get(i - 1)) {
                found = intersect(found, pieces.get(i));
            }
        }
        return best == null || found.size < best.size ? found : best;
    }

    /**
     * Matches in the order they were added. An empty language or text matches
     * everything; a filter takes part only when its criterion is not empty.
     */
    public Page search(String language, String text, Map<String, String> criteria, int pageSize, int pageNumber) {
        String lang = fold(language);
        String needle = fold(text);
        String[] wanted = new String[filterNames.length];
        for (int i = 0; i < wanted.length; i++) {
            wanted[i] = fold(criteria.get(filterNames[i]));
        }
        int first = (pageNumber - 1) * pageSize;
        List<String> ids = new ArrayList<>(Math.min(pageSize, 100));
        int total = 0;
        boolean filtered = false;
        for (String w : wanted) {
            filtered |= !w.isEmpty();
        }
        lock.readLock().lock();
        try {
            Positions list = candidates(lang, needle);
            int count = list == null ? entries.size() : list.size;
            // The list of a short text or of the language holds only entries that have it.
            boolean checkLanguage = !lang.isEmpty() && (replaced || list != byLanguage.get(lang));
            int langCode = languageCodes.getOrDefault(lang, -1);
            boolean checkText = !needle.isEmpty() && (needle.length() > LONGEST_PIECE || replaced
                    || list == null || list == byLanguage.get(lang));
            // The total, when the lists tell it without a look at each entry: then only the page is looked at.
            int known = -1;
            if (!filtered && !checkText) {
                known = !checkLanguage ? count : replaced || list == null ? -1 : list.countOf(langCode);
            }
            char[] needleChars = needle.toCharArray();
            for (int k = 0; k < count; k++) {
                if (known >= 0 && total >= first + pageSize) {
                    break;
                }
                int position = list == null ? k : list.at[k];
                if (checkLanguage && languageOf[position] != langCode) {
                    continue;
                }
                if (checkText && !textsHold(position, needleChars)) {
                    continue;
                }
                Entry e = null;
                if (filtered) {
                    e = entries.get(position);
                    if (!filtersMatch(e.filters, wanted)) {
                        continue;
                    }
                }
                if (total >= first && ids.size() < pageSize) {
                    ids.add((e != null ? e : entries.get(position)).id);
                }
                total++;
            }
            if (known >= 0) {
                total = known;
            }
        } finally {
            lock.readLock().unlock();
        }
        return new Page(total, ids);
    }

    private static boolean filtersMatch(String[] values, String[] wanted) {
        for (int i = 0; i < wanted.length; i++) {
            if (!wanted[i].isEmpty() && !wanted[i].equals(values[i])) {
                return false;
            }
        }
        return true;
    }
}
