package com.vireda.peer;

/** A request the peer answers with a refusal (status and description). */
public final class Refusal extends Exception {
    private static final long serialVersionUID = 1L;
    private final String status;

    public Refusal(String status, String description) {
        super(description);
        this.status = status;
    }

    public Refusal(String description) {
        this("-1", description);
    }

    public String status() {
        return status;
    }
}
