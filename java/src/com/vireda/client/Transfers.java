package com.vireda.client;

import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.function.Consumer;

/** The transfers of this process by handle, run on worker threads. */
public final class Transfers {
    /** Handles are unique for the process, whichever client made them. */
    private static final AtomicInteger NEXT = new AtomicInteger(1);

    private final ConcurrentHashMap<Integer, Transfer> all = new ConcurrentHashMap<>();
    private final ExecutorService workers;

    public Transfers() {
        AtomicInteger count = new AtomicInteger();
        workers = Executors.newFixedThreadPool(4, r -> {
            Thread t = new Thread(r, "vireda-transfer-" + count.incrementAndGet());
            t.setDaemon(true);
            return t;
        });
    }

    /** Starts work for a new transfer and returns it. */
    public Transfer start(Transfer.Kind kind, Consumer<Transfer> work) {
        int handle = NEXT.getAndUpdate(h -> h == Integer.MAX_VALUE ? 1 : h + 1);
        Transfer t = new Transfer(handle, kind);
        all.put(handle, t);
        workers.execute(() -> {
            try {
                work.accept(t);
            } catch (Throwable e) {
                t.fail();
            }
        });
        return t;
    }

    /** Cancels every download still running: each stops and removes its partial file. */
    public void cancelDownloads() {
        for (Transfer t : all.values()) {
            if (t.kind != Transfer.Kind.UPLOAD && !t.done()) {
                t.cancel();
            }
        }
    }

    /** The transfer of a handle, or null. */
    public Transfer find(int handle) {
        return all.get(handle);
    }
}
