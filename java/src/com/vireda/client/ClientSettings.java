package com.vireda.client;

import java.io.IOException;
import java.io.InputStream;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Properties;

/**
 * Where the client finds its peer. The environment variable VIREDA_PEER, or
 * "peer.url" in the file vireda-peer.properties of the working directory,
 * names a peer service; with neither the client runs one itself on loopback,
 * with its data in "peer.data" (default "PeerData") under the working directory.
 */
public final class ClientSettings {
    public static final String FILE_NAME = "vireda-peer.properties";
    public static final String ENVIRONMENT = "VIREDA_PEER";

    public final Path workingDirectory;
    /** Null when the client runs its own peer. */
    public final String peerUrl;
    public final Path dataDirectory;
    public final int timeoutMillis;
    /** The one certificate an https: peer must show ("peer.certificate"); null: the system's trusted ones. */
    public final Path certificate;

    private ClientSettings(Path workingDirectory, String peerUrl, Path dataDirectory, int timeoutMillis,
            Path certificate) {
        this.workingDirectory = workingDirectory;
        this.peerUrl = peerUrl;
        this.dataDirectory = dataDirectory;
        this.timeoutMillis = timeoutMillis;
        this.certificate = certificate;
    }

    /** The directory holding "Content" and the settings file: vireda.workdir when set, else user.dir. */
    public static Path workingDirectory() {
        String dir = System.getProperty("vireda.workdir");
        if (dir == null || dir.isEmpty()) {
            dir = System.getProperty("user.dir");
        }
        return Path.of(dir).toAbsolutePath();
    }

    public static ClientSettings load() {
        Path work = workingDirectory();
        Properties p = new Properties();
        Path file = work.resolve(FILE_NAME);
        if (Files.isRegularFile(file)) {
            try (InputStream in = Files.newInputStream(file)) {
                p.load(in);
            } catch (IOException e) {
                // an unreadable file counts as no settings
            }
        }
        String url = System.getenv(ENVIRONMENT);
        if (url == null || url.isBlank()) {
            url = p.getProperty("peer.url");
        }
        if (url != null) {
            url = url.trim();
            while (url.endsWith("/")) {
                url = url.substring(0, url.length() - 1);
            }
            if (url.isEmpty()) {
                url = null;
            }
        }
        int timeout = 15000;
        try {
            timeout = Integer.parseInt(p.getProperty("peer.timeout", "15000").trim());
        } catch (NumberFormatException e) {
            // keep the default
        }
        Path data = work.resolve(p.getProperty("peer.data", "PeerData").trim());
        String pinned = p.getProperty("peer.certificate", "").trim();
        return new ClientSettings(work, url, data, Math.max(timeout, 100),
                pinned.isEmpty() ? null : work.resolve(pinned));
    }
}
