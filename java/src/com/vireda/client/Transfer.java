package com.vireda.client;

/** One upload or download, polled by handle. */
public final class Transfer {
    public enum Kind { UPLOAD, EXERCISE, LESSON }

    public final int handle;
    public final Kind kind;
    /** The status of a transfer refused for its content (a sound or reply past its limit, a bad name). */
    public static final int REFUSED = -2;

    /** 0 to 100 while running and when done; -1 when it failed or was cancelled, REFUSED. */
    private volatile int status;
    /** Run once when the transfer is cancelled: stops its connection and removes its partial file. */
    private Runnable onCancel;
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
        if (status != REFUSED) {
            status = -1;
        }
    }

    /** Ends the transfer for its content; the document got so far stays readable. */
    public void refuse() {
        status = REFUSED;
    }

    public void cancel() {
        Runnable stop;
        synchronized (this) {
            cancelled = true;
            if (!done) {
                status = -1;
            }
            stop = onCancel;
            onCancel = null;
        }
        if (stop != null) {
            stop.run();
        }
    }

    /**
     * Sets what cancel runs (null: nothing); runs it at once when the transfer
     * is cancelled already. False in that case.
     */
    public boolean whenCancelled(Runnable stop) {
        synchronized (this) {
            if (!cancelled) {
                onCancel = stop;
                return true;
            }
        }
        if (stop != null) {
            stop.run();
        }
        return false;
    }
}
