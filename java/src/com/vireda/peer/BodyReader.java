package com.vireda.peer;

import java.io.ByteArrayOutputStream;
import java.io.IOException;
import java.io.OutputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.concurrent.atomic.AtomicBoolean;

import javax.servlet.AsyncContext;
import javax.servlet.AsyncEvent;
import javax.servlet.AsyncListener;
import javax.servlet.ReadListener;
import javax.servlet.ServletInputStream;
import javax.servlet.http.HttpServletResponse;

/**
 * Reads a request body as it arrives, without a worker waiting for it, then answers the
 * request once: the first bytes (at most a limit) in memory, the rest (when a file is
 * given) into that file up to its own limit. A body past its limit is answered with a
 * refusal, read to its end (up to a limit) so the client sees the answer. A body that has
 * not arrived by the request's deadline, or that after its first second comes slower than
 * a least rate, is answered with a refusal and not waited for.
 */
final class BodyReader implements ReadListener, AsyncListener {
    /** The answer to a whole body: the bytes kept in memory and how many went to the file. */
    interface Answer {
        Reply answer(byte[] head, long tailBytes) throws IOException;
    }

    /** Refused bodies up to this size are read to their end so the client sees the reply. */
    static final long MAX_DRAIN_BYTES = 64L << 20;

    private final AsyncContext async;
    private final ServletInputStream in;
    private final HttpServletResponse response;
    private final long headLimit;
    private final Path tailFile;
    private final long tailLimit;
    private final Answer answer;
    private final ByteArrayOutputStream head = new ByteArrayOutputStream();
    private OutputStream tail;
    private long tailBytes;
    private Reply refusal;
    private long drained;
    private final AtomicBoolean finished = new AtomicBoolean();
    private final long started = System.nanoTime();
    private long leastBytesPerSecond;

    private BodyReader(AsyncContext async, long headLimit, Path tailFile, long tailLimit, Reply refusal,
            Answer answer) throws IOException {
        this.async = async;
        this.in = async.getRequest().getInputStream();
        this.response = (HttpServletResponse) async.getResponse();
        this.headLimit = headLimit;
        this.tailFile = tailFile;
        this.tailLimit = tailLimit;
        this.refusal = refusal;
        this.answer = answer;
    }

    /**
     * Starts reading the body of the request of async: headLimit bytes into memory, the rest
     * (tailFile null: none may follow) into tailFile. The request is answered within timeoutMillis.
     */
    static void read(AsyncContext async, long timeoutMillis, long leastBytesPerSecond, long headLimit, Path tailFile,
            long tailLimit, Answer answer) throws IOException {
        start(async, timeoutMillis, leastBytesPerSecond,
                new BodyReader(async, headLimit, tailFile, tailLimit, null, answer));
    }

    /** Reads and drops the body, then answers with the refusal. */
    static void refuse(AsyncContext async, long timeoutMillis, long leastBytesPerSecond, Reply refusal)
            throws IOException {
        start(async, timeoutMillis, leastBytesPerSecond, new BodyReader(async, 0, null, 0, refusal, null));
    }

    private static void start(AsyncContext async, long timeoutMillis, long leastBytesPerSecond, BodyReader reader)
            throws IOException {
        reader.leastBytesPerSecond = leastBytesPerSecond;
        async.setTimeout(timeoutMillis);
        async.addListener(reader);
        try {
            if (reader.tailFile != null) {
                reader.tail = Files.newOutputStream(reader.tailFile);
            }
            reader.in.setReadListener(reader);
        } catch (IOException | RuntimeException e) {
            reader.finish(null);
            throw e;
        }
    }

    @Override
    public void onDataAvailable() {
        byte[] buffer = new byte[16384];
        try {
            int n;
            while (!finished.get() && in.isReady() && (n = in.read(buffer)) >= 0) {
                take(buffer, n);
            }
            // Read all there was; what has come must keep up with the least rate unless the body is whole.
            long nanos = System.nanoTime() - started;
            long arrived = head.size() + tailBytes + drained;
            if (!in.isFinished() && nanos > 1_000_000_000L && arrived < leastBytesPerSecond * (nanos / 1e9)) {
                finish(tooSlow());
            }
        } catch (IOException | RuntimeException e) {
            onError(e);
        }
    }

    private void take(byte[] buffer, int n) throws IOException {
        if (refusal != null) {
            drained += n;
            if (drained > MAX_DRAIN_BYTES) {
                finish(refusal);
            }
            return;
        }
        int toHead = (int) Math.min(n, headLimit - head.size());
        head.write(buffer, 0, toHead);
        int rest = n - toHead;
        if (rest == 0) {
            return;
        }
        if (tail == null || tailBytes + rest > tailLimit) {
            refuse(tooLarge());
            drained = rest;
            return;
        }
        tail.write(buffer, toHead, rest);
        tailBytes += rest;
    }

    private void refuse(Reply reply) {
        refusal = reply;
        closeTail();
    }

    @Override
    public void onAllDataRead() {
        if (refusal != null) {
            finish(refusal);
            return;
        }
        Reply reply;
        try {
            if (tail != null) {
                tail.close();
            }
            reply = answer.answer(head.toByteArray(), tailBytes);
        } catch (IOException | RuntimeException e) {
            reply = new Reply(500, MessageHandler.badRequest("The peer could not handle the request").text, null);
        }
        finish(reply);
    }

    /** The body failed to arrive: too slowly, not at all, or the client went away. */
    @Override
    public void onError(Throwable failure) {
        finish(tooSlow());
    }

    @Override
    public void onTimeout(AsyncEvent event) {
        finish(tooSlow());
    }

    @Override
    public void onError(AsyncEvent event) {
        finish(tooSlow());
    }

    @Override
    public void onComplete(AsyncEvent event) {
        finish(null);
    }

    @Override
    public void onStartAsync(AsyncEvent event) {
        // nothing to do
    }

    /** Answers once (reply null: not at all) and ends the request; the file is gone after. */
    private void finish(Reply reply) {
        if (!finished.compareAndSet(false, true)) {
            return;
        }
        closeTail();
        try {
            if (reply != null && !response.isCommitted()) {
                PeerService.send(response, reply);
            }
        } catch (IOException | RuntimeException ignored) {
            // the client went away
        } finally {
            try {
                async.complete();
            } catch (RuntimeException ignored) {
                // completed already
            }
            if (tailFile != null) {
                try {
                    Files.deleteIfExists(tailFile);
                } catch (IOException ignored) {
                    // swept at the next start
                }
            }
        }
    }

    private void closeTail() {
        if (tail != null) {
            try {
                tail.close();
            } catch (IOException ignored) {
                // dropped anyway
            }
        }
    }

    static Reply tooLarge() {
        Reply r = MessageHandler.badRequest("The request is too large");
        return new Reply(413, r.text, null);
    }

    static Reply tooSlow() {
        Reply r = MessageHandler.badRequest("The request did not arrive in time");
        return new Reply(408, r.text, null);
    }
}
