package com.vireda.peer;

import java.security.SecureRandom;
import java.util.Base64;
import java.util.concurrent.ConcurrentHashMap;

/** Sign-in sessions: random tokens standing for a user, kept while the service runs. */
public final class Sessions {
    private final SecureRandom random = new SecureRandom();
    private final ConcurrentHashMap<String, SessionUser> open = new ConcurrentHashMap<>();

    public String open(SessionUser user) {
        byte[] bytes = new byte[32];
        random.nextBytes(bytes);
        String token = Base64.getUrlEncoder().withoutPadding().encodeToString(bytes);
        open.put(token, user);
        return token;
    }

    /** The user of a token; null for none or an unknown one. */
    public SessionUser find(String token) {
        return token == null || token.isEmpty() ? null : open.get(token);
    }
}
