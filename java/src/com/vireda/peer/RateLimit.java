package com.vireda.peer;

import java.util.ArrayDeque;
import java.util.HashMap;
import java.util.Iterator;
import java.util.Map;
import java.util.function.LongSupplier;

/** At most a number of events per address within a sliding window of time. */
public final class RateLimit {
    private static final int MAX_ADDRESSES = 100_000;

    private final int limit;
    private final long windowMillis;
    private final LongSupplier clock;
    private final Map<String, ArrayDeque<Long>> events = new HashMap<>();

    public RateLimit(int limit, long windowMillis, LongSupplier clock) {
        this.limit = limit;
        this.windowMillis = windowMillis;
        this.clock = clock;
    }

    /** Counts an event of that address; false (and not counted) when the address is past its limit. */
    public synchronized boolean allow(String address) {
        long now = clock.getAsLong();
        if (events.size() >= MAX_ADDRESSES) {
            forgetOld(now);
        }
        ArrayDeque<Long> times = events.computeIfAbsent(address == null ? "" : address, a -> new ArrayDeque<>());
        while (!times.isEmpty() && now - times.peekFirst() >= windowMillis) {
            times.removeFirst();
        }
        if (times.size() >= limit) {
            return false;
        }
        times.addLast(now);
        return true;
    }

    private void forgetOld(long now) {
        for (Iterator<ArrayDeque<Long>> it = events.values().iterator(); it.hasNext();) {
            ArrayDeque<Long> times = it.next();
            if (times.isEmpty() || now - times.peekLast() >= windowMillis) {
                it.remove();
            }
        }
    }
}
