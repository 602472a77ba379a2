package com.vireda.peer;

/** A reply text with its HTTP status and, after a sign-in, the session to hand out. */
public final class Reply {
    public final int httpStatus;
    public final String text;
    /** The session token to send back: null sends none, empty clears the client's. */
    public final String session;

    public Reply(int httpStatus, String text, String session) {
        this.httpStatus = httpStatus;
        this.text = text;
        this.session = session;
    }

    public static Reply ok(String text) {
        return new Reply(200, text, null);
    }
}
