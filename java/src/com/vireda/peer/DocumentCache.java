package com.vireda.peer;

import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.atomic.AtomicLong;

/**
 * Documents read lately, by id, in two generations of up to a number of characters each:
 * when the newer one is full it becomes the older and the older is dropped; a document
 * found in the older one moves to the newer. Only for documents that never change.
 */
final class DocumentCache {
    private final long generationChars;
    private volatile ConcurrentHashMap<String, String> newer = new ConcurrentHashMap<>();
    private volatile ConcurrentHashMap<String, String> older = new ConcurrentHashMap<>();
    private final AtomicLong newerChars = new AtomicLong();

    DocumentCache(long generationChars) {
        this.generationChars = generationChars;
    }

    /** The document, or null when it was not read lately. */
    String get(String id) {
        String doc = newer.get(id);
        if (doc == null) {
            doc = older.get(id);
            if (doc != null) {
                put(id, doc);
            }
        }
        return doc;
    }

    void put(String id, String doc) {
        if (doc.length() > generationChars || newer.putIfAbsent(id, doc) != null) {
            return;
        }
        if (newerChars.addAndGet(doc.length()) > generationChars) {
            synchronized (this) {
                if (newerChars.get() > generationChars) {
                    older = newer;
                    newer = new ConcurrentHashMap<>();
                    newerChars.set(0);
                }
            }
        }
    }
}
