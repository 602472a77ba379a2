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
import java.util.concurrent.atomic.AtomicLong;

/**
 * Many clients searching a stand-alone peer over loopback, beside the peer's /ping:
 *   PeerLoad JAVA JAR DATA CLIENTS SECONDS [rush]
 * DATA is a seeded peer data folder. With "rush", 50 learners (registered first, each from
 * its own loopback address) sign in at once a third of the way in.
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
            byte[] bytes = body == null ? new byte[0] : body.getBytes(StandardCharsets.UTF_8);
            String head = method + " " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n"
                    + (session.isEmpty() ? "" : "X-Vireda-Session: " + session + "\r\n")
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
        return message("exerciseQuery", "<term>" + term + "</term><query_langID>spa</query_langID>"
                + "<max_results>20</max_results><page_num>1</page_num>");
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

        static String summary(List<Samples> all, long from, long to) {
            long n = 0;
            long errors = 0;
            for (Samples s : all) {
                n += s.size;
                errors += s.errors;
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
        boolean rush = args.length > 5 && args[5].equals("rush");

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
                clients, seconds, rush ? ", sign-in rush" : "", residentKb(pid) / 1024.0);

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
        long asked = System.nanoTime();
        try (Client c = new Client("127.0.0.1", port)) {
            c.socket.setSoTimeout(0);
            c.request("POST", "/message", search("sa"));
        }
        System.out.printf("first search answered %.1f s after the start (the index read)%n",
                (System.nanoTime() - asked) / 1e9);
        // Warm-up: 15 s of the same load, long enough for the peer's compiler to finish on a busy machine.
        long warmEnd = System.nanoTime() + WARM_UP_SECONDS * 1_000_000_000L;
        long start = warmEnd;
        long end = start + seconds * 1_000_000_000L;
        List<Samples> searches = new ArrayList<>();
        List<Thread> threads = new ArrayList<>();
        for (int i = 0; i < clients; i++) {
            Samples s = new Samples();
            searches.add(s);
            int id = i;
            threads.add(new Thread(() -> {
                Random random = new Random(id);
                Client c = null;
                while (System.nanoTime() < end) {
                    String term = terms[random.nextInt(terms.length)];
                    long t0 = System.nanoTime();
                    try {
                        if (c == null) {
                            c = new Client("127.0.1." + (1 + id % 250), port);
                        }
                        String answer = c.request("POST", "/message", search(term));
                        if (!answer.contains("<status>1</status>")) {
                            throw new IOException("refused");
                        }
                        if (t0 >= start) {
                            s.add(t0, System.nanoTime() - t0);
                        }
                    } catch (IOException e) {
                        if (t0 >= start) {
                            s.errors++;
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
        peer.descendants().forEach(ProcessHandle::destroy);
        peer.destroy();
        peer.waitFor();
    }
}
