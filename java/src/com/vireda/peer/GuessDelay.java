package com.vireda.peer;

import java.util.HashMap;
import java.util.Iterator;
import java.util.Map;
import java.util.function.LongSupplier;

/**
 * A growing wait after wrong passwords: a key (an account, or an account at one
 * address) may fail a few times freely; after that each further try must wait
 * twice as long as the one before, up to a bound. Tries made while waiting are
 * refused unchecked and do not lengthen the wait. A key without failures for a
 * while is forgotten.
 */
public final class GuessDelay {
    private static final int MAX_KEYS = 100_000;

    private record State(int failures, long last) {}

    private final int free;
    private final long firstWaitMillis;
    private final long maxWaitMillis;
    private final long forgetMillis;
    private final LongSupplier clock;
    private final Map<String, State> states = new HashMap<>();

    public GuessDelay(int free, long firstWaitMillis, long maxWaitMillis, long forgetMillis, LongSupplier clock) {
        this.free = free;
        this.firstWaitMillis = firstWaitMillis;
        this.maxWaitMillis = maxWaitMillis;
        this.forgetMillis = forgetMillis;
        this.clock = clock;
    }

    /** Milliseconds the key must still wait before its password is checked; 0 when it may try now. */
    public synchronized long waitMillis(String key) {
        State s = current(key, clock.getAsLong());
        if (s == null || s.failures < free) {
            return 0;
        }
        int doublings = Math.min(30, s.failures - free);
        long wait = Math.min(maxWaitMillis, firstWaitMillis << doublings);
        return Math.max(0, s.last + wait - clock.getAsLong());
    }

    public synchronized void failed(String key) {
        long now = clock.getAsLong();
        if (states.size() >= MAX_KEYS) {
            forgetOld(now);
        }
        State s = current(key, now);
        states.put(key, new State(s == null ? 1 : s.failures + 1, now));
    }

    public synchronized void succeeded(String key) {
        states.remove(key);
    }

    private State current(String key, long now) {
        State s = states.get(key);
        if (s != null && now - s.last >= forgetMillis) {
            states.remove(key);
            return null;
        }
        return s;
    }

    private void forgetOld(long now) {
        for (Iterator<State> it = states.values().iterator(); it.hasNext();) {
            if (now - it.next().last >= forgetMillis) {
                it.remove();
            }
        }
    }
}
