package com.vireda.tests;

import java.io.BufferedReader;
import java.io.IOException;
import java.io.InputStreamReader;
import java.io.OutputStream;
import java.net.InetAddress;
import java.net.ServerSocket;
import java.net.Socket;
import java.net.SocketTimeoutException;
import java.nio.charset.StandardCharsets;
import java.util.List;
import java.util.concurrent.CopyOnWriteArrayList;

/** A mail server on 127.0.0.1 that keeps what it is sent; one connection at a time. */
final class SmtpSink implements AutoCloseable {
    private static final int TIMEOUT_MILLIS = 10_000;

    final List<String> mails = new CopyOnWriteArrayList<>();
    final List<String> recipients = new CopyOnWriteArrayList<>();
    private final ServerSocket server;
    private final Thread thread;

    SmtpSink() throws IOException {
        server = new ServerSocket(0, 8, InetAddress.getLoopbackAddress());
        thread = new Thread(this::serve, "smtp-sink");
        thread.setDaemon(true);
        thread.start();
    }

    int port() {
        return server.getLocalPort();
    }

    private void serve() {
        while (!server.isClosed()) {
            try (Socket s = server.accept()) {
                s.setSoTimeout(TIMEOUT_MILLIS);
                converse(s);
            } catch (SocketTimeoutException e) {
                // a silent client is dropped
            } catch (IOException e) {
                return; // closed
            }
        }
    }

    private void converse(Socket s) throws IOException {
        BufferedReader in = new BufferedReader(new InputStreamReader(s.getInputStream(), StandardCharsets.UTF_8));
        OutputStream out = s.getOutputStream();
        say(out, "220 sink ready");
        String line;
        while ((line = in.readLine()) != null) {
            String verb = line.length() < 4 ? line.toUpperCase() : line.substring(0, 4).toUpperCase();
            switch (verb) {
            case "EHLO":
                say(out, "250-sink\r\n250 8BITMIME");
                break;
            case "RCPT":
                recipients.add(line.substring(line.indexOf(':') + 1).trim());
                say(out, "250 ok");
                break;
            case "DATA": {
                say(out, "354 end with .");
                StringBuilder mail = new StringBuilder();
                int lines = 0;
                while ((line = in.readLine()) != null && !line.equals(".") && lines++ < 10_000) {
                    mail.append(line.startsWith("..") ? line.substring(1) : line).append('\n');
                }
                mails.add(mail.toString());
                say(out, "250 kept");
                break;
            }
            case "QUIT":
                say(out, "221 bye");
                return;
            default:
                say(out, "250 ok");
            }
        }
    }

    private static void say(OutputStream out, String text) throws IOException {
        out.write((text + "\r\n").getBytes(StandardCharsets.UTF_8));
        out.flush();
    }

    @Override
    public void close() throws IOException {
        server.close();
        try {
            thread.join(TIMEOUT_MILLIS);
        } catch (InterruptedException e) {
            Thread.currentThread().interrupt();
        }
    }
}
