package com.vireda.peer;

import java.io.IOException;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.nio.channels.FileChannel;
import java.nio.file.Files;
import java.nio.file.Path;
import java.nio.file.StandardCopyOption;
import java.nio.file.StandardOpenOption;
import java.nio.file.attribute.PosixFilePermissions;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.HashMap;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.CopyOnWriteArrayList;

/**
 * In-memory index of searchable content: a language, the texts a search looks into
 * (lower-cased) and the values of the optional filters. Entries are kept in groups of one
 * language and one value of the first filter; in each group, each piece of one to four
 * characters of the texts keeps the positions of its entries. A search of a short text
 * counts its matches from the sizes of its groups' lists and reads its page by rank; a
 * longer one looks only at the entries holding all of its shortest pieces. Everything
 * else is kept in flat arrays, and the whole index can be written to a file and read back.
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

    /** Ascending entry positions: the first size of at. Never changed once a search may see it. */
    private static final class Positions {
        int[] at;
        int size;

        Positions(int[] at, int size) {
            this.at = at;
            this.size = size;
        }

        /** How many positions are at most p. */
        int countUpTo(int p) {
            int i = Arrays.binarySearch(at, 0, size, p);
            return i >= 0 ? i + 1 : -i - 1;
        }
    }

    /**
     * A list of positions that one writer adds to while searches read it: each addition
     * publishes a new view; a position added after the others goes into the free room of the
     * same array (past every earlier view's end), any other into a new array.
     */
    private static final class PositionList {
        volatile Positions run;

        PositionList() {
            run = new Positions(new int[2], 0);
        }

        PositionList(int[] at) {
            run = new Positions(at, at.length);
        }

        void add(int position) {
            Positions r = run;
            if (r.size > 0 && r.at[r.size - 1] >= position) {
                int i = Arrays.binarySearch(r.at, 0, r.size, position);
                if (i < 0) {
                    int index = -i - 1;
                    int[] at = new int[r.size + (r.size >> 1) + 2];
                    System.arraycopy(r.at, 0, at, 0, index);
                    at[index] = position;
                    System.arraycopy(r.at, index, at, index + 1, r.size - index);
                    run = new Positions(at, r.size + 1);
                }
                return;
            }
            int[] at = r.at;
            if (r.size == at.length) {
                at = Arrays.copyOf(at, r.size + (r.size >> 1) + 2);
            }
            at[r.size] = position;
            run = new Positions(at, r.size + 1);
        }
    }

    /** The entries of one language and one value of the first filter. */
    private static final class Group {
        final int language;
        final int first;
        final PositionList all = new PositionList();
        /** By the piece's length, then keyed by its characters, 16 bits each. */
        final List<ConcurrentHashMap<Long, PositionList>> byPiece = new ArrayList<>();

        Group(int language, int first) {
            this.language = language;
            this.first = first;
            for (int length = 0; length <= LONGEST_PIECE; length++) {
                byPiece.add(new ConcurrentHashMap<>());
            }
        }

        /**
         * A list holding every entry of the group whose texts may hold the needle, in order;
         * exact for a needle of at most LONGEST_PIECE characters.
         */
        Positions candidates(String needle) {
            if (needle.isEmpty()) {
                return all.run;
            }
            if (needle.length() <= LONGEST_PIECE) {
                PositionList l = byPiece.get(needle.length()).get(pieceKey(needle, 0, needle.length()));
                return l == null ? NONE : l.run;
            }
            List<Positions> pieces = new ArrayList<>();
            for (int i = 0; i + LONGEST_PIECE <= needle.length(); i++) {
                PositionList l = byPiece.get(LONGEST_PIECE).get(pieceKey(needle, i, LONGEST_PIECE));
                Positions p = l == null ? NONE : l.run;
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
            return found;
        }
    }

    private static final int LONGEST_PIECE = 4;
    private static final Positions NONE = new Positions(new int[0], 0);
    /** Lists of pieces intersected for a long text, shortest first; the text check does the rest. */
    private static final int MOST_INTERSECTED = 4;

    private final String[] filterNames;
    /**
     * Entries a search looks at: positions below it. One writer at a time adds entries and
     * then raises it; searches take no lock. The arrays below are whole up to it.
     */
    private volatile int published;
    /** Entries added (by the writer). */
    private int size;
    /** Each position's group, by its number in groups. */
    private volatile int[] groupOf = new int[16];
    /** Each position's filter values as codes of values, filterNames.length a position. */
    private volatile int[] filterCodes;
    /**
     * The folded texts of every entry, one entry after another: the number of its texts,
     * then each text's length (two chars, high first) and characters.
     */
    private volatile char[] texts = new char[256];
    private int textsUsed;
    /** Where the texts of each position begin in texts. */
    private volatile int[] textsOf = new int[16];
    /** The ids, one after another; the id of position p runs from idsOf[p] to idsOf[p + 1]. */
    private volatile char[] ids = new char[256];
    private volatile int[] idsOf = new int[17];
    /** Open addressing from an id's hash to its position + 1; 0 is free. Made at the first addition after a read. */
    private int[] idTable = new int[32];
    /** Languages and filter values, each once; code 0 is the empty one. */
    private final List<String> values = new ArrayList<>();
    private final Map<String, Integer> valueCodes = new ConcurrentHashMap<>();
    private final List<Group> groups = new CopyOnWriteArrayList<>();
    private final Map<Long, Integer> groupNumbers = new HashMap<>();
    /** True once an entry was replaced: the lists of its old group and texts still hold it. */
    private volatile boolean replaced;
    /** Held by the one who adds entries or writes the index to a file. */
    private final Object writer = new Object();

    /** filterNames: the request elements that filter, in the order of the values given to add(). */
    public SearchIndex(String... filterNames) {
        this.filterNames = filterNames.clone();
        filterCodes = new int[16 * Math.max(1, filterNames.length)];
        code("");
    }

    static String fold(String text) {
        return text == null ? "" : text.trim().toLowerCase(Locale.ROOT);
    }

    private static long pieceKey(String text, int from, int length) {
        long key = 0;
        for (int i = from; i < from + length; i++) {
            key = (key << 16) | text.charAt(i);
        }
        return key;
    }

    private int code(String value) {
        Integer known = valueCodes.get(value);
        if (known != null) {
            return known;
        }
        values.add(value);
        valueCodes.put(value, values.size() - 1);
        return values.size() - 1;
    }

    private Group group(int language, int first) {
        long key = (long) language << 32 | first;
        Integer known = groupNumbers.get(key);
        if (known != null) {
            return groups.get(known);
        }
        Group g = new Group(language, first);
        groups.add(g);
        groupNumbers.put(key, groups.size() - 1);
        return g;
    }

    /** The distinct pieces of each length of the texts, sorted. */
    private static long[][] pieces(String[] folded) {
        long[][] keys = new long[LONGEST_PIECE + 1][];
        for (int length = 1; length <= LONGEST_PIECE; length++) {
            int n = 0;
            for (String t : folded) {
                n += Math.max(0, t.length() - length + 1);
            }
            long[] k = new long[n];
            n = 0;
            for (String t : folded) {
                for (int i = 0; i + length <= t.length(); i++) {
                    k[n++] = pieceKey(t, i, length);
                }
            }
            Arrays.sort(k);
            int distinct = 0;
            for (int i = 0; i < k.length; i++) {
                if (i == 0 || k[i] != k[i - 1]) {
                    k[distinct++] = k[i];
                }
            }
            keys[length] = Arrays.copyOf(k, distinct);
        }
        return keys;
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
        long[][] keys = pieces(folded);
        synchronized (writer) {
            if (idTable == null) {
                rebuildIdTable();
            }
            int position = find(id);
            if (position >= 0) {
                // The old lists keep this position; then every search checks the entries it looks at.
                replaced = true;
            } else {
                position = append(id);
            }
            int[] codes = new int[filterNames.length];
            for (int i = 0; i < codes.length; i++) {
                codes[i] = code(filters[i]);
            }
            Group g = group(code(lang), codes.length > 0 ? codes[0] : 0);
            groupOf[position] = groupNumbers.get((long) g.language << 32 | g.first);
            System.arraycopy(codes, 0, filterCodes, position * filterNames.length, codes.length);
            // A replaced entry's earlier texts stay unused in the arena.
            textsOf[position] = appendTexts(folded);
            g.all.add(position);
            for (int length = 1; length <= LONGEST_PIECE; length++) {
                ConcurrentHashMap<Long, PositionList> lists = g.byPiece.get(length);
                for (long key : keys[length]) {
                    lists.computeIfAbsent(key, k -> new PositionList()).add(position);
                }
            }
            published = size;
        }
    }

    private static int hash(String id) {
        int h = 0;
        for (int i = 0; i < id.length(); i++) {
            h = 31 * h + id.charAt(i);
        }
        return h ^ (h >>> 16);
    }

    private boolean idIs(int position, String id) {
        int from = idsOf[position];
        if (idsOf[position + 1] - from != id.length()) {
            return false;
        }
        for (int i = 0; i < id.length(); i++) {
            if (ids[from + i] != id.charAt(i)) {
                return false;
            }
        }
        return true;
    }

    /** The position of that id; -1 when it is not here. */
    private int find(String id) {
        int mask = idTable.length - 1;
        for (int slot = hash(id) & mask; idTable[slot] != 0; slot = (slot + 1) & mask) {
            if (idIs(idTable[slot] - 1, id)) {
                return idTable[slot] - 1;
            }
        }
        return -1;
    }

    private void putId(int position) {
        int mask = idTable.length - 1;
        int h = 0;
        for (int i = idsOf[position]; i < idsOf[position + 1]; i++) {
            h = 31 * h + ids[i];
        }
        int slot = (h ^ (h >>> 16)) & mask;
        while (idTable[slot] != 0) {
            slot = (slot + 1) & mask;
        }
        idTable[slot] = position + 1;
    }

    private void rebuildIdTable() {
        int capacity = 32;
        while (capacity < 2L * size + 2) {
            capacity <<= 1;
        }
        idTable = new int[capacity];
        for (int p = 0; p < size; p++) {
            putId(p);
        }
    }

    private String idAt(int position) {
        int[] of = idsOf;
        return new String(ids, of[position], of[position + 1] - of[position]);
    }

    /** A new position for that id at the end. */
    private int append(String id) {
        int position = size;
        if (position + 1 >= groupOf.length) {
            int capacity = position + (position >> 1) + 16;
            groupOf = Arrays.copyOf(groupOf, capacity);
            textsOf = Arrays.copyOf(textsOf, capacity);
            idsOf = Arrays.copyOf(idsOf, capacity + 1);
            filterCodes = Arrays.copyOf(filterCodes, capacity * Math.max(1, filterNames.length));
        }
        int from = idsOf[position];
        if (from + id.length() > ids.length) {
            ids = Arrays.copyOf(ids, grown(ids.length, from + (long) id.length()));
        }
        id.getChars(0, id.length(), ids, from);
        idsOf[position + 1] = from + id.length();
        size++;
        if (2L * size + 2 > idTable.length) {
            rebuildIdTable();
        } else {
            putId(position);
        }
        return position;
    }

    private static int grown(int length, long needed) {
        if (needed > Integer.MAX_VALUE - 16) {
            throw new IllegalStateException("the search index is full");
        }
        return (int) Math.min(Integer.MAX_VALUE - 16, Math.max(needed, length * 2L));
    }

    private int appendTexts(String[] folded) {
        if (folded.length > Character.MAX_VALUE) {
            throw new IllegalArgumentException("too many texts");
        }
        long needed = textsUsed + 1L;
        for (String t : folded) {
            needed += 2L + t.length();
        }
        if (needed > texts.length) {
            texts = Arrays.copyOf(texts, grown(texts.length, needed));
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
        int at = textsOf[position];
        char[] t = texts;
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
        return published;
    }

    /** The id of the entry added last; null when there is none. */
    public String lastId() {
        int n = published;
        return n == 0 ? null : idAt(n - 1);
    }

    /** The positions of a that are also in b; both ascending. Gallops through b, so a short a costs little. */
    private static Positions intersect(Positions a, Positions b) {
        Positions out = new Positions(new int[a.size], 0);
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

    /** Several ascending lists read as one, smallest position first; a position in several lists comes once. */
    private static final class Merged {
        final Positions[] lists;
        final int[] next;
        int last = -1;

        /** Where each list ends for this search: at its first position not below limit. */
        final int[] ends;
        int count;

        Merged(List<Positions> lists, int limit) {
            this.lists = lists.toArray(new Positions[0]);
            next = new int[this.lists.length];
            ends = new int[this.lists.length];
            for (int i = 0; i < ends.length; i++) {
                ends[i] = this.lists[i].countUpTo(limit - 1);
                count += ends[i];
            }
        }

        /** The next position; -1 at the end. */
        int next() {
            while (true) {
                int best = -1;
                for (int i = 0; i < lists.length; i++) {
                    if (next[i] < ends[i] && (best < 0 || lists[i].at[next[i]] < lists[best].at[next[best]])) {
                        best = i;
                    }
                }
                if (best < 0) {
                    return -1;
                }
                int p = lists[best].at[next[best]++];
                if (p != last) {
                    last = p;
                    return p;
                }
            }
        }

        /** Skips to the entry of that rank (below the number of positions), the lists holding none twice. */
        void skip(int rank) {
            if (rank == 0) {
                return;
            }
            // The smallest position with more than rank positions up to it.
            int lo = 0;
            int hi = 0;
            for (int i = 0; i < lists.length; i++) {
                hi = ends[i] == 0 ? hi : Math.max(hi, lists[i].at[ends[i] - 1]);
            }
            while (lo < hi) {
                int mid = lo + (hi - lo) / 2;
                long upTo = 0;
                for (int i = 0; i < lists.length; i++) {
                    upTo += Math.min(ends[i], lists[i].countUpTo(mid));
                }
                if (upTo > rank) {
                    hi = mid;
                } else {
                    lo = mid + 1;
                }
            }
            for (int i = 0; i < lists.length; i++) {
                next[i] = Math.min(ends[i], lists[i].countUpTo(lo - 1));
            }
        }
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
        long firstWanted = (long) (pageNumber - 1) * pageSize;
        List<String> found = new ArrayList<>(Math.min(pageSize, 100));
        // Entries added while this search runs are not looked at.
        int limit = published;
        {
            // Codes of what is asked: -1 any, -2 a value no entry has.
            int langCode = lang.isEmpty() ? -1 : valueCodes.getOrDefault(lang, -2);
            int[] codes = new int[wanted.length];
            boolean otherFilters = false;
            for (int i = 0; i < wanted.length; i++) {
                codes[i] = wanted[i].isEmpty() ? -1 : valueCodes.getOrDefault(wanted[i], -2);
                otherFilters |= i > 0 && codes[i] != -1;
                if (codes[i] == -2) {
                    return new Page(0, found);
                }
            }
            if (langCode == -2) {
                return new Page(0, found);
            }
            int firstCode = codes.length > 0 ? codes[0] : -1;
            Group[] known = groups.toArray(new Group[0]);
            boolean[] chosen = new boolean[known.length];
            List<Positions> lists = new ArrayList<>();
            for (int g = 0; g < known.length; g++) {
                Group group = known[g];
                if ((langCode < 0 || group.language == langCode) && (firstCode < 0 || group.first == firstCode)) {
                    chosen[g] = true;
                    Positions l = group.candidates(needle);
                    if (l.size > 0) {
                        lists.add(l);
                    }
                }
            }
            Merged merged = new Merged(lists, limit);
            boolean replacedAny = replaced;
            if (!replacedAny && needle.length() <= LONGEST_PIECE && !otherFilters) {
                // The lists hold exactly the matches: count them, read the page by its rank.
                int total = merged.count;
                if (firstWanted < total) {
                    merged.skip((int) firstWanted);
                    int p;
                    while (found.size() < pageSize && (p = merged.next()) >= 0) {
                        found.add(idAt(p));
                    }
                }
                return new Page(total, found);
            }
            boolean checkText = !needle.isEmpty() && (needle.length() > LONGEST_PIECE || replacedAny);
            char[] needleChars = needle.toCharArray();
            int[] groupsOf = groupOf;
            int total = 0;
            int p;
            while ((p = merged.next()) >= 0) {
                if (replacedAny && !chosen[groupsOf[p]]) {
                    continue;
                }
                if (checkText && !textsHold(p, needleChars)) {
                    continue;
                }
                if ((otherFilters || replacedAny) && !filtersMatch(p, codes)) {
                    continue;
                }
                if (total >= firstWanted && found.size() < pageSize) {
                    found.add(idAt(p));
                }
                total++;
            }
            return new Page(total, found);
        }
    }

    private boolean filtersMatch(int position, int[] codes) {
        int base = position * filterNames.length;
        int[] values = filterCodes;
        for (int i = 0; i < codes.length; i++) {
            if (codes[i] >= 0 && values[base + i] != codes[i]) {
                return false;
            }
        }
        return true;
    }

    // ---- the index in a file ----

    private static final int MAGIC = 0x56495831;
    private static final int VERSION = 1;
    private static final int ORDER_MARK = 0x01020304;

    /** Writes ints, longs and chars to a file in this machine's byte order, through one buffer. */
    private static final class Out implements AutoCloseable {
        private final FileChannel channel;
        private final ByteBuffer buffer = ByteBuffer.allocateDirect(1 << 20).order(ByteOrder.nativeOrder());

        Out(FileChannel channel) {
            this.channel = channel;
        }

        private void room(int bytes) throws IOException {
            if (buffer.remaining() < bytes) {
                flush();
            }
        }

        void flush() throws IOException {
            buffer.flip();
            while (buffer.hasRemaining()) {
                channel.write(buffer);
            }
            buffer.clear();
        }

        void putInt(int v) throws IOException {
            room(4);
            buffer.putInt(v);
        }

        void putLong(long v) throws IOException {
            room(8);
            buffer.putLong(v);
        }

        void putInts(int[] a, int n) throws IOException {
            putInt(n);
            for (int at = 0; at < n;) {
                room(4);
                int k = Math.min(n - at, buffer.remaining() / 4);
                buffer.asIntBuffer().put(a, at, k);
                buffer.position(buffer.position() + 4 * k);
                at += k;
            }
        }

        void putChars(char[] a, int n) throws IOException {
            putInt(n);
            for (int at = 0; at < n;) {
                room(2);
                int k = Math.min(n - at, buffer.remaining() / 2);
                buffer.asCharBuffer().put(a, at, k);
                buffer.position(buffer.position() + 2 * k);
                at += k;
            }
        }

        void putString(String s) throws IOException {
            putChars(s.toCharArray(), s.length());
        }

        @Override
        public void close() throws IOException {
            flush();
        }
    }

    /** Reads what Out wrote; a count past the file's end or a limit is a damaged file. */
    private static final class In {
        private final FileChannel channel;
        private final ByteBuffer buffer = ByteBuffer.allocateDirect(1 << 20).order(ByteOrder.nativeOrder());
        private long left;

        In(FileChannel channel) throws IOException {
            this.channel = channel;
            left = channel.size();
            buffer.limit(0);
        }

        private void need(int bytes) throws IOException {
            if (buffer.remaining() >= bytes) {
                return;
            }
            buffer.compact();
            while (buffer.position() < bytes) {
                if (channel.read(buffer) < 0) {
                    throw new IOException("the index file ends early");
                }
            }
            buffer.flip();
        }

        private int count(int unit) throws IOException {
            int n = getInt();
            if (n < 0 || (long) n * unit > left) {
                throw new IOException("the index file is damaged");
            }
            return n;
        }

        int getInt() throws IOException {
            need(4);
            left -= 4;
            return buffer.getInt();
        }

        long getLong() throws IOException {
            need(8);
            left -= 8;
            return buffer.getLong();
        }

        int[] getInts(int extra) throws IOException {
            int n = count(4);
            int[] a = new int[n + extra];
            for (int at = 0; at < n;) {
                need(4);
                int k = Math.min(n - at, buffer.remaining() / 4);
                buffer.asIntBuffer().get(a, at, k);
                buffer.position(buffer.position() + 4 * k);
                at += k;
            }
            left -= 4L * n;
            return a;
        }

        char[] getChars() throws IOException {
            int n = count(2);
            char[] a = new char[n];
            for (int at = 0; at < n;) {
                need(2);
                int k = Math.min(n - at, buffer.remaining() / 2);
                buffer.asCharBuffer().get(a, at, k);
                buffer.position(buffer.position() + 2 * k);
                at += k;
            }
            left -= 2L * n;
            return a;
        }

        String getString() throws IOException {
            return new String(getChars());
        }
    }

    /**
     * Writes the index to file, with a number of the caller's (stamp), through a temporary file
     * beside it that replaces it at once; only the owner may read it.
     */
    public void save(Path file, long stamp) throws IOException {
        Path part = file.resolveSibling(file.getFileName() + ".part");
        Files.deleteIfExists(part);
        Files.createFile(part, PosixFilePermissions.asFileAttribute(PosixFilePermissions.fromString("rw-------")));
        try {
            synchronized (writer) {
                saveTo(part, stamp);
            }
        } catch (IOException | RuntimeException e) {
            Files.deleteIfExists(part);
            throw e;
        }
        Files.move(part, file, StandardCopyOption.ATOMIC_MOVE, StandardCopyOption.REPLACE_EXISTING);
    }

    private void saveTo(Path part, long stamp) throws IOException {
        try (FileChannel channel = FileChannel.open(part, StandardOpenOption.WRITE);
                Out out = new Out(channel)) {
            out.putInt(MAGIC);
            out.putInt(VERSION);
            out.putInt(ORDER_MARK);
            out.putLong(stamp);
            out.putInt(filterNames.length);
            for (String name : filterNames) {
                out.putString(name);
            }
            out.putInt(size);
            out.putInt(replaced ? 1 : 0);
            out.putInt(values.size());
            for (String v : values) {
                out.putString(v);
            }
            out.putInt(groups.size());
            for (Group g : groups) {
                out.putInt(g.language);
                out.putInt(g.first);
                Positions all = g.all.run;
                out.putInts(all.at, all.size);
                for (int length = 1; length <= LONGEST_PIECE; length++) {
                    out.putInt(g.byPiece.get(length).size());
                    for (Map.Entry<Long, PositionList> e : g.byPiece.get(length).entrySet()) {
                        Positions p = e.getValue().run;
                        out.putLong(e.getKey());
                        out.putInts(p.at, p.size);
                    }
                }
            }
            out.putInts(groupOf, size);
            out.putInts(filterCodes, size * filterNames.length);
            out.putChars(texts, textsUsed);
            out.putInts(textsOf, size);
            out.putChars(ids, idsOf[size]);
            out.putInts(idsOf, size + 1);
            out.putInt(MAGIC);
            out.flush();
            channel.force(true);
        }
    }

    /** An index read from file with its stamp. */
    public static final class Saved {
        public final SearchIndex index;
        public final long stamp;

        Saved(SearchIndex index, long stamp) {
            this.index = index;
            this.stamp = stamp;
        }
    }

    /** The index saved in file with these filters; null when there is none or it is not one of this kind. */
    public static Saved load(Path file, String... filterNames) {
        if (!Files.isRegularFile(file)) {
            return null;
        }
        try (FileChannel channel = FileChannel.open(file, StandardOpenOption.READ)) {
            In in = new In(channel);
            if (in.getInt() != MAGIC || in.getInt() != VERSION || in.getInt() != ORDER_MARK) {
                return null;
            }
            long stamp = in.getLong();
            if (in.getInt() != filterNames.length) {
                return null;
            }
            for (String name : filterNames) {
                if (!in.getString().equals(name)) {
                    return null;
                }
            }
            SearchIndex index = new SearchIndex(filterNames);
            int size = in.getInt();
            index.replaced = in.getInt() != 0;
            int valueCount = in.getInt();
            if (valueCount < 1 || !in.getString().isEmpty()) {
                return null;
            }
            for (int i = 1; i < valueCount; i++) {
                index.code(in.getString());
            }
            if (index.values.size() != valueCount) {
                return null;
            }
            int groupCount = in.getInt();
            for (int g = 0; g < groupCount; g++) {
                int language = in.getInt();
                int first = in.getInt();
                if (language < 0 || language >= valueCount || first < 0 || first >= valueCount) {
                    return null;
                }
                Group group = index.group(language, first);
                int[] all = in.getInts(0);
                group.all.run = new Positions(all, all.length);
                for (int length = 1; length <= LONGEST_PIECE; length++) {
                    int pieces = in.getInt();
                    ConcurrentHashMap<Long, PositionList> lists = group.byPiece.get(length);
                    for (int k = 0; k < pieces; k++) {
                        long key = in.getLong();
                        lists.put(key, new PositionList(in.getInts(0)));
                    }
                }
            }
            index.size = size;
            index.groupOf = in.getInts(1);
            index.filterCodes = in.getInts(Math.max(1, filterNames.length));
            index.texts = in.getChars();
            index.textsUsed = index.texts.length;
            index.textsOf = in.getInts(1);
            index.ids = in.getChars();
            index.idsOf = in.getInts(1);
            if (in.getInt() != MAGIC || !index.consistent(groupCount, valueCount)) {
                return null;
            }
            // The table of ids waits for the first addition: a search does not need it.
            index.idTable = null;
            index.published = size;
            return new Saved(index, stamp);
        } catch (IOException | RuntimeException | OutOfMemoryError e) {
            return null;
        }
    }

    /** True when the arrays read back fit together (every list's ends inside the index). */
    private boolean consistent(int groupCount, int valueCount) {
        int n = filterNames.length;
        if (size < 0 || groupOf.length != size + 1 || textsOf.length != size + 1 || idsOf.length != size + 2
                || filterCodes.length != size * n + Math.max(1, n) || idsOf[size] != ids.length || idsOf[0] != 0) {
            return false;
        }
        for (int p = 0; p < size; p++) {
            if (groupOf[p] < 0 || groupOf[p] >= groupCount || textsOf[p] < 0 || textsOf[p] >= textsUsed
                    || idsOf[p] > idsOf[p + 1]) {
                return false;
            }
        }
        for (int i = 0; i < size * n; i++) {
            if (filterCodes[i] < 0 || filterCodes[i] >= valueCount) {
                return false;
            }
        }
        for (Group g : groups) {
            if (!ascendingInside(g.all.run)) {
                return false;
            }
            for (int length = 1; length <= LONGEST_PIECE; length++) {
                for (PositionList p : g.byPiece.get(length).values()) {
                    if (!ascendingInside(p.run)) {
                        return false;
                    }
                }
            }
        }
        return true;
    }

    /** The list's ends inside the index (its order is the writer's). */
    private boolean ascendingInside(Positions p) {
        return p.size == 0 || p.at[0] >= 0 && p.at[p.size - 1] < size && p.at[0] <= p.at[p.size - 1];
    }
}
