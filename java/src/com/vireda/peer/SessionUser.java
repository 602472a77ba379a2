package com.vireda.peer;

/** The user a session token stands for. */
public final class SessionUser {
    public final String userId;
    public final String userName;

    public SessionUser(String userId, String userName) {
        this.userId = userId;
        this.userName = userName;
    }
}
