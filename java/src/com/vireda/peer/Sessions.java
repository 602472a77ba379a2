package com.vireda.peer;

import java.security.SecureRandom;
import java.util.Base64;
import java.util.Iterator;
import java.util.Map;
import java.util.concurrent.ConcurrentHashMap;
import java.util.function.LongSupplier;

/** Sign-in sessions: random tokens standing for a user, ended at sign-out or after a day unused. */
public final class Sessions {
    public static final long IDLE_LIMIT_MILLIS = 24L * 60 * 60 * 1000;

    private static final class Entry {
        final SessionUser user;
        volatile long lastUsed;

        Entry(SessionUser user, long now) {
            this.user = user;
            this.lastUsed = now;
        }
    }

    private final SecureRandom random = new SecureRandom();
    private final ConcurrentHashMap<String, Entry> open = new ConcurrentHashMap<>();
    private final LongSupplier clock;
    private int opened;

    public Sessions() {
        this(System::currentTimeMillis);
    }

    /** clock gives the time in milliseconds. */
    public Sessions(LongSupplier clock) {
        this.clock = clock;
    }

    public String open(SessionUser user) {
        byte[] bytes = new byte[32];
        random.nextBytes(bytes);
        String token = Base64.getUrlEncoder().withoutPadding().encodeToString(bytes);
        long now = clock.getAsLong();
        open.put(token, new Entry(user, now));
        synchronized (this) {
            if (++opened % 256 == 0) {
                dropIdle(now);
            }
        }
        return token;
    }

    /** The user of a token; null for none, an unknown one or one unused for a day. */
    public SessionUser find(String token) {
        if (token == null || token.isEmpty()) {
            return null;
        }
        Entry e = open.get(token);
        if (e == null) {
            return null;
        }
        long now = clock.getAsLong();
        if (now - e.lastUsed > IDLE_LIMIT_MILLIS) {
            open.remove(token, e);
            return null;
        }
        e.lastUsed = now;
        return e.user;
    }

    /** Ends a session; false when there was none. */
    public boolean close(String token) {
        return token != null && open.remove(token) != null;
    }

    public int size() {
        return open.size();
    }

    private void dropIdle(long now) {
        for (Iterator<Map.Entry<String, Entry>> it = open.entrySet().iterator(); it.hasNext();) {
            if (now - it.next().getValue().lastUsed > IDLE_LIMIT_MILLIS) {
                it.remove();
            }
        }
    }
}
