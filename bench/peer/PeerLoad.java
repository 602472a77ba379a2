package com.vireda.bench;

import java.io.BufferedInputStream;
import java.io.IOException;
import java.io.InputStream;
import java.io.OutputStream;
import java.net.InetAddress;
import java.net.InetSocketAddress;
import java.net.Socket;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Arrays;
import java.util.List;
import java.util.Random;
import java.util.concurrent.CountDownLatch;
import java.util.concurrent.TimeUnit;
import java.util.concurrent.atomic.AtomicLong;

/**
 * Many clients searching a stand-alone peer over loopback, beside the peer's /ping:
 *   PeerLoad JAVA JAR DATA CLIENTS SECONDS [rush|varied|mixed]
 * DATA is a seeded peer data folder. Without a mode each search is one of ten fixed terms,
 * page 1. "varied": terms from the seeded vocabulary (whole words half the time, prefixes of
 * 1 to 6 letters otherwise), pages 1 to 20, both seeded languages. "mixed": varied searches
 * by all but 10 clients, and in the second half of the time 10 more upload exercises with a
 * 32 KB sound each. With "rush", 50 learners (registered first, each from its own loopback
 * address) sign in at once a third of the way in. Prints its goals and whether they held;
 * the exit status is 0 when all held.
 */
public final class PeerLoad {
    private static final int RUSH = 50;
    private static final long WARM_UP_SECONDS = 15;

    /** One keep-alive HTTP/1.1 connection from a chosen loopback address. */
    static final class Client implements AutoCloseable {
        final Socket socket = new Socket();
        private final InputStream in;
        private final OutputStream out;
        String session = "";

        Client(String from, int port) throws IOException {
            socket.setTcpNoDelay(true);
            socket.bind(new InetSocketAddress(InetAddress.getByName(from), 0));
            socket.connect(new InetSocketAddress(InetAddress.getLoopbackAddress(), port), 5000);
            socket.setSoTimeout(30_000);
            in = new BufferedInputStream(socket.getInputStream());
            out = socket.getOutputStream();
        }

        /** The answer's body; throws on a status other than 200. */
        String request(String method, String path, String body) throws IOException {
            return request(method, path, body == null ? null : body.getBytes(StandardCharsets.UTF_8), "");
        }

        /** The same with a body of bytes and more header lines (each ending in CR LF). */
        String request(String method, String path, byte[] body, String moreHeaders) throws IOException {
            byte[] bytes = body == null ? new byte[0] : body;
            String head = method + " " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                    + (session.isEmpty() ? "" : "X-Vireda-Session: " + session + "\r\n") + moreHeaders
                    + (body == null ? "" : "Content-Type: application/xml\r\nContent-Length: " + bytes.length + "\r\n")
                    + "\r\n";
            out.write(head.getBytes(StandardCharsets.US_ASCII));
            out.write(bytes);
            out.flush();
            String status = line();
            int length = -1;
            String line;
            while (!(line = line()).isEmpty()) {
                int colon = line.indexOf(':');
                String name = colon < 0 ? line : line.substring(0, colon).trim();
                if (name.equalsIgnoreCase("Content-Length")) {
                    length = Integer.parseInt(line.substring(colon + 1).trim());
                } else if (name.equalsIgnoreCase("X-Vireda-Session")) {
                    session = line.substring(colon + 1).trim();
                }
            }
            if (length < 0) {
                throw new IOException("no length: " + status);
            }
            byte[] answer = in.readNBytes(length);
            if (answer.length != length || !status.startsWith("HTTP/1.1 200")) {
                throw new IOException(status);
            }
            return new String(answer, StandardCharsets.UTF_8);
        }

        private String line() throws IOException {
            StringBuilder b = new StringBuilder();
            int c;
            while ((c = in.read()) >= 0 && c != '\n') {
                if (c != '\r') {
                    b.append((char) c);
                }
            }
            if (c < 0 && b.length() == 0) {
                throw new IOException("closed");
            }
            return b.toString();
        }

        @Override
        public void close() throws IOException {
            socket.close();
        }
    }

    static String message(String type, String body) {
        return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><message><header><from>bench</from><to>peer</to><type>"
                + type + "</type><xmlVersion>1</xmlVersion></header><body><" + type + ">" + body + "</" + type
                + "></body></message>";
    }

    static String search(String term) {
        return search(term, "spa", 1);
    }

    static String search(String term, String language, int page) {
        return message("exerciseQuery", "<term>" + term + "</term><query_langID>" + language + "</query_langID>"
                + "<max_results>20</max_results><page_num>" + page + "</page_num>");
    }

    /** A search drawn from the seeded vocabulary: a whole word or a prefix of 1 to 6 letters, page 1 to 20. */
    static String variedSearch(Random random, int[] kind) {
        String word = SeedPeer.word(random);
        String term = word;
        kind[0] = 2;
        if (random.nextBoolean()) {
            term = word.substring(0, Math.min(word.length(), 1 + random.nextInt(6)));
            kind[0] = term.length() <= 2 ? 0 : term.length() <= 4 ? 1 : 2;
        }
        return search(term, random.nextBoolean() ? "spa" : "eng", 1 + random.nextInt(20));
    }

    static final String[] KINDS = {"1-2 letters", "3-4 letters", "5 letters or more, whole words"};

    /** A WAV file of 16-bit mono samples, 32 KB in all. */
    static byte[] sound() {
        int data = 32 * 1024 - 44;
        java.nio.ByteBuffer b = java.nio.ByteBuffer.allocate(44 + data).order(java.nio.ByteOrder.LITTLE_ENDIAN);
        b.put("RIFF".getBytes(StandardCharsets.US_ASCII)).putInt(36 + data).put("WAVE".getBytes(StandardCharsets.US_ASCII));
        b.put("fmt ".getBytes(StandardCharsets.US_ASCII)).putInt(16).putShort((short) 1).putShort((short) 1)
                .putInt(16000).putInt(32000).putShort((short) 2).putShort((short) 16);
        b.put("data".getBytes(StandardCharsets.US_ASCII)).putInt(data);
        for (int i = 0; i < data / 2; i++) {
            b.putShort((short) (8000 * Math.sin(i / 8.0)));
        }
        return b.array();
    }

    static String exercise(String term) {
        return "<exercise><manifest localManifestID=\"4\" persistentManifestID=\"0\"/>"
                + "<textual_manifest learnerLevelID=\"2\"><langID>spa</langID></textual_manifest>"
                + "<term><manifest localManifestID=\"5\"/><textual_manifest><manifestValue><![CDATA[" + term
                + "]]></manifestValue><langID>spa</langID></textual_manifest></term>"
                + "<media><manifest localManifestID=\"6\"/><media_manifest fluencyLevelID=\"3\">"
                + "<mediaManifestFileName>rec.wav</mediaManifestFileName><voice>bench</voice><langID>spa</langID>"
                + "</media_manifest></media><kvps/></exercise>";
    }

    /** Latencies in nanoseconds with the moment each request started. */
    static final class Samples {
        long[] started = new long[1024];
        long[] took = new long[1024];
        int size;
        long errors;

        void add(long start, long nanos) {
            if (size == took.length) {
                started = Arrays.copyOf(started, size * 2);
                took = Arrays.copyOf(took, size * 2);
            }
            started[size] = start;
            took[size++] = nanos;
        }

        /** The p-th fraction of the latencies of requests started in [from, to), in ms; -1 without any. */
        static double percentile(List<Samples> all, long from, long to, double p) {
            long[] t = within(all, from, to);
            return t.length == 0 ? -1 : t[Math.min(t.length - 1, (int) (t.length * p))] / 1e6;
        }

        static long errors(List<Samples> all) {
            long e = 0;
            for (Samples s : all) {
                e += s.errors;
            }
            return e;
        }

        static long[] within(List<Samples> all, long from, long to) {
            long n = 0;
            for (Samples s : all) {
                n += s.size;
            }
            long[] t = new long[(int) n];
            int k = 0;
            for (Samples s : all) {
                for (int i = 0; i < s.size; i++) {
                    if (s.started[i] >= from && s.started[i] < to) {
                        t[k++] = s.took[i];
                    }
                }
            }
            t = Arrays.copyOf(t, k);
            Arrays.sort(t);
            return t;
        }

        static String summary(List<Samples> all, long from, long to) {
            long errors = 0;
            for (Samples s : all) {
                errors += s.errors;
            }
            long[] t = within(all, from, to);
            int k = t.length;
            if (k == 0) {
                return "no requests, " + errors + " errors";
            }
            double seconds = (to - from) / 1e9;
            return String.format(
                    "%,.0f/s  p50 %.1f ms  p95 %.1f ms  p99 %.1f ms  max %.1f ms  (%,d requests, %d errors)",
                    k / seconds, t[k / 2] / 1e6, t[(int) (k * 0.95)] / 1e6, t[(int) (k * 0.99)] / 1e6,
                    t[k - 1] / 1e6, k, errors);
        }
    }

    static long residentKb(long pid) {
        try {
            for (String line : Files.readAllLines(Path.of("/proc/" + pid + "/status"))) {
                if (line.startsWith("VmRSS:")) {
                    return Long.parseLong(line.replaceAll("[^0-9]", ""));
                }
            }
        } catch (IOException | RuntimeException e) {
            // gone
        }
        return 0;
    }

    /** CPU time a process used so far, in nanoseconds (user and system, from /proc). */
    static long cpuNanos(long pid) {
        try {
            String stat = Files.readString(Path.of("/proc/" + pid + "/stat"));
            String[] f = stat.substring(stat.lastIndexOf(')') + 2).split(" ");
            // utime and stime are fields 14 and 15, in clock ticks of 10 ms
            return (Long.parseLong(f[11]) + Long.parseLong(f[12])) * 10_000_000L;
        } catch (IOException | RuntimeException e) {
            return 0;
        }
    }

    public static void main(String[] args) throws Exception {
        String java = args[0];
        String jar = args[1];
        Path data = Path.of(args[2]);
        int clients = Integer.parseInt(args[3]);
        int seconds = Integer.parseInt(args[4]);
        String mode = args.length > 5 ? args[5] : "";
        boolean rush = mode.equals("rush");
        boolean mixed = mode.equals("mixed");
        boolean varied = mixed || mode.equals("varied");
        int searchers = mixed ? clients - UPLOADERS : clients;

        long launched = System.nanoTime();
        Process peer = new ProcessBuilder(java, "-cp", jar, "com.vireda.peer.PeerService", "--port", "0", "--data",
                data.toString()).redirectErrorStream(true).start();
        Runtime.getRuntime().addShutdownHook(new Thread(() -> peer.descendants().forEach(ProcessHandle::destroy)));
        Runtime.getRuntime().addShutdownHook(new Thread(peer::destroy));
        java.io.BufferedReader said = new java.io.BufferedReader(new java.io.InputStreamReader(peer.getInputStream()));
        String first = said.readLine();
        // The virtual machine may say first which options it picked up.
        while (first != null && !first.contains("listening on")) {
            first = said.readLine();
        }
        if (first == null || !first.contains(":")) {
            throw new IOException("the peer did not start: " + first);
        }
        int port = Integer.parseInt(first.substring(first.lastIndexOf(':') + 1).trim());
        // The peer may run in a child process with its own heap.
        long pid = peer.descendants().mapToLong(ProcessHandle::pid).max().orElse(peer.pid());
        System.out.printf("peer pid %d on port %d, %d clients for %d s%s, resident at start %.0f MB%n", pid, port,
                clients, seconds, mode.isEmpty() ? ", fixed terms" : ", " + mode, residentKb(pid) / 1024.0);

        String[] terms = {"zanahoria", "mapo", "quito", "venta", "ñama", "lito", "rozo", "bofe", "guta", "sa"};
        if (rush) {
            for (int i = 0; i < RUSH; i++) {
                try (Client c = new Client("127.0.2." + (i + 1), port)) {
                    c.request("POST", "/message", message("register", "<general><username>learner" + (100 + i)
                            + "</username><password>pw" + i + "</password><email/><countryID>ES</countryID></general>"
                            + "<fluency><languageID>spa</languageID><fluencyID>3</fluencyID>"
                            + "<nonSpeaking>0</nonSpeaking></fluency>"));
                } catch (IOException e) {
                    // registered in an earlier run
                }
            }
        }
        // The peer answers at once and reads its search index in the background: the first search waits for it.
        int exercises;
        double firstSearch;
        try (Client c = new Client("127.0.0.1", port)) {
            c.socket.setSoTimeout(0);
            c.request("POST", "/message", search("sa"));
            firstSearch = (System.nanoTime() - launched) / 1e9;
            String all = c.request("POST", "/message", message("exerciseQuery", "<term/><max_results>1</max_results>"));
            exercises = Integer.parseInt(all.replaceAll("(?s).*<total_result_available>(\\d+)<.*", "$1"));
        }
        System.out.printf("first search answered %.1f s after the peer was started, %,d exercises%n", firstSearch,
                exercises);
        List<Uploader> uploaders = new ArrayList<>();
        if (mixed) {
            long run = System.currentTimeMillis() / 1000 % 1_000_000;
            for (int i = 0; i < UPLOADERS; i++) {
                uploaders.add(new Uploader("127.0.3." + (i + 1), port, "up" + run + "_" + i));
            }
        }
        // Warm-up: 15 s of the same load, long enough for the peer's compiler to finish on a busy machine.
        long warmEnd = System.nanoTime() + WARM_UP_SECONDS * 1_000_000_000L;
        long start = warmEnd;
        long end = start + seconds * 1_000_000_000L;
        long mid = start + (end - start) / 2;
        List<Samples> searches = new ArrayList<>();
        // With one client: its searches by the length of their terms.
        List<Samples> byKind = List.of(new Samples(), new Samples(), new Samples());
        List<Thread> threads = new ArrayList<>();
        for (int i = 0; i < searchers; i++) {
            Samples s = new Samples();
            searches.add(s);
            int id = i;
            threads.add(new Thread(() -> {
                Random random = new Random(id);
                Client c = null;
                int[] kind = new int[1];
                while (System.nanoTime() < end) {
                    String query = varied ? variedSearch(random, kind) : search(terms[random.nextInt(terms.length)]);
                    long t0 = System.nanoTime();
                    try {
                        if (c == null) {
                            c = new Client("127.0.1." + (1 + id % 250), port);
                        }
                        String answer = c.request("POST", "/message", query);
                        if (!answer.contains("<status>1</status>")) {
                            throw new IOException("refused");
                        }
                        if (t0 >= start) {
                            long took = System.nanoTime() - t0;
                            s.add(t0, took);
                            if (searchers == 1) {
                                byKind.get(kind[0]).add(t0, took);
                            }
                        }
                    } catch (IOException e) {
                        if (t0 >= start) {
                            s.errors++;
                            if (s.errors <= 2) {
                                System.out.println("search failed: " + e.getMessage());
                            }
                        }
                        try {
                            if (c != null) {
                                c.close();
                            }
                        } catch (IOException ignored) {
                            // reconnect
                        }
                        c = null;
                    }
                }
            }));
        }
        Samples uploads = new Samples();
        for (Uploader u : uploaders) {
            threads.add(new Thread(() -> u.run(mid, end, uploads)));
        }
        Samples pings = new Samples();
        threads.add(new Thread(() -> {
            try (Client c = new Client("127.0.0.1", port)) {
                while (System.nanoTime() < end) {
                    long t0 = System.nanoTime();
                    c.request("GET", "/ping", null);
                    if (t0 >= start) {
                        pings.add(t0, System.nanoTime() - t0);
                    }
                    Thread.sleep(5);
                }
            } catch (Exception e) {
                pings.errors++;
            }
        }));
        AtomicLong peakKb = new AtomicLong();
        long[] cpu = new long[4];
        threads.add(new Thread(() -> {
            try {
                Thread.sleep(Math.max(0, (start - System.nanoTime()) / 1_000_000));
            } catch (InterruptedException e) {
                return;
            }
            cpu[0] = cpuNanos(pid);
            cpu[1] = cpuNanos(ProcessHandle.current().pid());
            while (System.nanoTime() < end) {
                peakKb.accumulateAndGet(residentKb(pid), Math::max);
                try {
                    Thread.sleep(250);
                } catch (InterruptedException e) {
                    return;
                }
            }
            cpu[2] = cpuNanos(pid);
            cpu[3] = cpuNanos(ProcessHandle.current().pid());
        }));
        Samples signIns = new Samples();
        long[] rushSpan = new long[2];
        if (rush) {
            threads.add(new Thread(() -> {
                try {
                    Thread.sleep(Math.max(0, (start + (end - start) / 3 - System.nanoTime()) / 1_000_000));
                    CountDownLatch go = new CountDownLatch(1);
                    List<Thread> learners = new ArrayList<>();
                    for (int i = 0; i < RUSH; i++) {
                        int id = i;
                        Client c = new Client("127.0.2." + (i + 1), port);
                        learners.add(new Thread(() -> {
                            try {
                                go.await();
                                long t0 = System.nanoTime();
                                String answer = c.request("POST", "/message", message("login",
                                        "<username>learner" + (100 + id) + "</username><password>pw" + id
                                                + "</password>"));
                                long took = System.nanoTime() - t0;
                                synchronized (signIns) {
                                    if (c.session.isEmpty() || !answer.contains("<status>1</status>")) {
                                        System.out.println("sign-in refused: " + answer);
                                        signIns.errors++;
                                    } else {
                                        signIns.add(t0, took);
                                    }
                                }
                                c.close();
                            } catch (Exception e) {
                                synchronized (signIns) {
                                    System.out.println("sign-in failed: " + e);
                                    signIns.errors++;
                                }
                            }
                        }));
                    }
                    learners.forEach(Thread::start);
                    rushSpan[0] = System.nanoTime();
                    go.countDown();
                    for (Thread t : learners) {
                        t.join();
                    }
                    rushSpan[1] = System.nanoTime();
                } catch (Exception e) {
                    signIns.errors++;
                }
            }));
        }
        threads.forEach(Thread::start);
        for (Thread t : threads) {
            t.join();
        }
        System.out.println("searches " + Samples.summary(searches, start, end));
        System.out.println("/ping    " + Samples.summary(List.of(pings), start, end));
        if (mixed) {
            System.out.println("searches alone   " + Samples.summary(searches, start, mid));
            System.out.println("/ping alone      " + Samples.summary(List.of(pings), start, mid));
            System.out.println("searches mixed   " + Samples.summary(searches, mid, end));
            System.out.println("/ping mixed      " + Samples.summary(List.of(pings), mid, end));
            System.out.println("uploads (32 KB)  " + Samples.summary(List.of(uploads), mid, end));
        }
        if (searchers == 1) {
            for (int k = 0; k < KINDS.length; k++) {
                System.out.println("searches of " + KINDS[k] + ": " + Samples.summary(List.of(byKind.get(k)), start,
                        end));
            }
        }
        System.out.printf("peak resident %.0f MB%n", peakKb.get() / 1024.0);
        long served = 0;
        for (Samples s : searches) {
            served += s.size;
        }
        System.out.printf("CPU: peer %.2f cores (%.2f ms a search), load generator %.2f cores%n",
                (cpu[2] - cpu[0]) / (double) (end - start), (cpu[2] - cpu[0]) / 1e6 / Math.max(1, served),
                (cpu[3] - cpu[1]) / (double) (end - start));
        if (rush) {
            System.out.printf("sign-in rush: %d learners at once, all answered in %.0f ms%n", RUSH,
                    (rushSpan[1] - rushSpan[0]) / 1e6);
            System.out.println("sign-ins " + Samples.summary(List.of(signIns), rushSpan[0], rushSpan[1]));
            System.out.println("searches during the rush " + Samples.summary(searches, rushSpan[0], rushSpan[1]));
            System.out.println("searches outside it " + Samples.summary(searches, start, rushSpan[0]));
        }
        boolean held = true;
        double p99 = Samples.percentile(searches, start, end, 0.99);
        double pingP99 = Samples.percentile(List.of(pings), start, end, 0.99);
        long errors = Samples.errors(searches) + pings.errors + uploads.errors;
        held &= goal(String.format("search p99 %.1f ms under twice /ping's p99 of the same time (%.1f ms)", p99,
                2 * pingP99), p99 >= 0 && p99 < 2 * pingP99);
        held &= goal(errors + " errors", errors == 0);
        long limitMb = exercises > 500_000 ? 1024 : 512;
        held &= goal(String.format("peak resident %.0f MB under %d MB", peakKb.get() / 1024.0, limitMb),
                peakKb.get() < limitMb * 1024);
        held &= goal(String.format("first search %.1f s after the start, under 5 s", firstSearch), firstSearch < 5);
        if (mixed) {
            double alone = Samples.percentile(searches, start, mid, 0.99);
            double together = Samples.percentile(searches, mid, end, 0.99);
            held &= goal(String.format("search p99 with uploads %.1f ms within 1.2 times the p99 alone (%.1f ms)",
                    together, alone), together >= 0 && together <= 1.2 * alone);
            held &= goal(uploads.size + " uploads", uploads.size > 0);
        }
        if (searchers == 1 && varied) {
            for (int k = 0; k < KINDS.length; k++) {
                double kp99 = Samples.percentile(List.of(byKind.get(k)), start, end, 0.99);
                held &= goal(String.format("one search at a time, %s: p99 %.1f ms under 5 ms", KINDS[k], kp99),
                        kp99 >= 0 && kp99 < 5);
            }
        }
        System.out.println(held ? "all goals held" : "NOT all goals held");
        List<ProcessHandle> running = new ArrayList<>(peer.descendants().toList());
        running.add(peer.toHandle());
        for (ProcessHandle h : running) {
            h.destroy();
        }
        // The peer keeps its search index as it stops.
        for (ProcessHandle h : running) {
            h.onExit().get(120, TimeUnit.SECONDS);
        }
        System.exit(held ? 0 : 1);
    }

    static boolean goal(String what, boolean held) {
        System.out.println((held ? "held:     " : "MISSED:   ") + what);
        return held;
    }

    private static final int UPLOADERS = 10;

    /** A learner uploading exercises with a 32 KB sound, one after another, from its own address. */
    static final class Uploader {
        private static final byte[] SOUND = sound();
        private final String from;
        private final int port;
        private final String session;

        Uploader(String from, int port, String name) throws IOException {
            this.from = from;
            this.port = port;
            Client client = new Client(from, port);
            client.request("POST", "/message", message("register", "<general><username>" + name
                    + "</username><password>pw</password><email/><countryID>ES</countryID></general>"
                    + "<fluency><languageID>spa</languageID><fluencyID>3</fluencyID><nonSpeaking>0</nonSpeaking>"
                    + "</fluency>"));
            String answer = client.request("POST", "/message", message("login", "<username>" + name
                    + "</username><password>pw</password>"));
            if (client.session.isEmpty()) {
                throw new IOException("the uploader was not signed in: " + answer);
            }
            session = client.session;
            client.close();
        }

        void run(long begin, long until, Samples samples) {
            Random random = new Random(begin + from.hashCode());
            try {
                Thread.sleep(Math.max(0, (begin - System.nanoTime()) / 1_000_000));
            } catch (InterruptedException e) {
                return;
            }
            // At most two a second: 10 uploaders stay within an account's uploads of an hour over 3 runs.
            Client client = null;
            while (System.nanoTime() < until) {
                byte[] msg = message("uploadExercise", exercise(SeedPeer.word(random) + " " + SeedPeer.word(random)))
                        .getBytes(StandardCharsets.UTF_8);
                byte[] body = Arrays.copyOf(msg, msg.length + SOUND.length);
                System.arraycopy(SOUND, 0, body, msg.length, SOUND.length);
                long t0 = System.nanoTime();
                try {
                    if (client == null) {
                        client = new Client(from, port);
                        client.session = session;
                    }
                    String answer = client.request("POST", "/upload", body, "X-Vireda-Message-Length: " + msg.length
                            + "\r\n");
                    if (!answer.contains("<status>1</status>")) {
                        throw new IOException("refused: " + answer);
                    }
                    long took = System.nanoTime() - t0;
                    synchronized (samples) {
                        samples.add(t0, took);
                    }
                    Thread.sleep(Math.max(0, 500 - took / 1_000_000));
                } catch (IOException | InterruptedException e) {
                    synchronized (samples) {
                        samples.errors++;
                    }
                    System.out.println("upload failed: " + e.getMessage());
                    try {
                        if (client != null) {
                            client.close();
                        }
                    } catch (IOException ignored) {
                        // a new connection next time
                    }
                    client = null;
                }
            }
        }
    }
}
