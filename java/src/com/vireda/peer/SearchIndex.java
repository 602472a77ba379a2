package com.vireda.peer;

import java.util.ArrayList;
import java.util.HashMap;
import java.util.List;
import java.util.Locale;
import java.util.Map;
import java.util.concurrent.locks.ReentrantReadWriteLock;

/**
 * In-memory index of searchable content: a language, the texts a search
 * looks into (lower-cased) and the values of the optional filters.
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
        final String[] texts;
        final String[] filters;

        Entry(String id, String language, String[] texts, String[] filters) {
            this.id = id;
            this.language = language;
            this.texts = texts;
            this.filters = filters;
        }
    }

    private final String[] filterNames;
    private final List<Entry> entries = new ArrayList<>();
    private final Map<String, Integer> positions = new HashMap<>();
    private final ReentrantReadWriteLock lock = new ReentrantReadWriteLock();

    /** filterNames: the request elements that filter, in the order of the values given to add(). */
    public SearchIndex(String... filterNames) {
        this.filterNames = filterNames.clone();
    }

    static String fold(String text) {
        return text == null ? "" : text.trim().toLowerCase(Locale.ROOT);
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
        Entry entry = new Entry(id, fold(language), folded, filters);
        lock.writeLock().lock();
        try {
            Integer at = positions.get(id);
            if (at != null) {
                entries.set(at, entry);
            } else {
                positions.put(id, entries.size());
                entries.add(entry);
            }
        } finally {
            lock.writeLock().unlock();
        }
    }

    public int size() {
        lock.readLock().lock();
        try {
            return entries.size();
        } finally {
            lock.readLock().unlock();
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
        int first = (pageNumber - 1) * pageSize;
        List<String> ids = new ArrayList<>(pageSize);
        int total = 0;
        lock.readLock().lock();
        try {
            for (Entry e : entries) {
                if (!lang.isEmpty() && !lang.equals(e.language)) {
                    continue;
                }
                if (!needle.isEmpty() && !containsAny(e.texts, needle)) {
                    continue;
                }
                if (!filtersMatch(e.filters, wanted)) {
                    continue;
                }
                if (total >= first && ids.size() < pageSize) {
                    ids.add(e.id);
                }
                total++;
            }
        } finally {
            lock.readLock().unlock();
        }
        return new Page(total, ids);
    }

    private static boolean containsAny(String[] texts, String needle) {
        for (String t : texts) {
            if (t.contains(needle)) {
                return true;
            }
        }
        return false;
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
