package com.vireda.client;

/** One upload or download, polled by handle. */
public final class Transfer {
    public enum Kind { UPLOAD, EXERCISE, LESSON }

    public final int handle;
    public final Kind kind;
    /** 0 to 100 while running and when done; -1 when it failed or was cancelled. */
    private volatile int status;
    private volatile boolean done;
    private volatile boolean cancelled;
    /** The peer's reply: the upload reply, or the downloaded document. */
    private volatile String reply;
    private volatile String translations;

    Transfer(int handle, Kind kind) {
        this.handle = handle;
        this.kind = kind;
    }

    public int status() {
        return status;
    }

    public boolean done() {
        return done;
    }

    public boolean cancelled() {
        return cancelled;
    }

    public String reply() {
        return reply;
    }

    public String translations() {
        return translations;
    }

    public void progress(int value) {
        if (status >= 0 && !done) {
            status = Math.max(0, Math.min(99, value));
        }
    }

    public void setReply(String text) {
        reply = text;
    }

    public void setTranslations(String text) {
        translations = text;
    }

    public void finish() {
        if (cancelled) {
            fail();
            return;
        }
        status = 100;
        done = true;
    }

    public void fail() {
        status = -1;
    }

    public void cancel() {
        cancelled = true;
        if (!done) {
            status = -1;
        }
    }
}
