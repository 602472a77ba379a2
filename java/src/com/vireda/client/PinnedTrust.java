package com.vireda.client;

import java.io.IOException;
import java.io.InputStream;
import java.net.InetSocketAddress;
import java.net.URI;
import java.nio.file.Files;
import java.nio.file.Path;
import java.security.GeneralSecurityException;
import java.security.KeyStore;
import java.security.cert.Certificate;
import java.security.cert.CertificateException;
import java.security.cert.CertificateFactory;

import javax.net.ssl.SSLContext;
import javax.net.ssl.SSLHandshakeException;
import javax.net.ssl.SSLSocket;
import javax.net.ssl.SSLSocketFactory;
import javax.net.ssl.TrustManagerFactory;

/** TLS that trusts one certificate alone: a community's own peer with a certificate of its own. */
public final class PinnedTrust {
    private PinnedTrust() {
    }

    /** Sockets that accept the peer only with the certificate in file (PEM or DER). */
    public static SSLSocketFactory socketFactory(Path file) throws IOException, GeneralSecurityException {
        Certificate certificate;
        try (InputStream in = Files.newInputStream(file)) {
            certificate = CertificateFactory.getInstance("X.509").generateCertificate(in);
        }
        KeyStore trusted = KeyStore.getInstance(KeyStore.getDefaultType());
        trusted.load(null, null);
        trusted.setCertificateEntry("peer", certificate);
        TrustManagerFactory trust = TrustManagerFactory.getInstance(TrustManagerFactory.getDefaultAlgorithm());
        trust.init(trusted);
        SSLContext context = SSLContext.getInstance("TLS");
        context.init(null, trust.getTrustManagers(), null);
        return context.getSocketFactory();
    }

    /**
     * Whether the https: peer at url shows a certificate that factory does not trust:
     * the handshake fails on the certificate. False for any other failure.
     */
    public static boolean refusedBy(String url, SSLSocketFactory factory, int timeoutMillis) {
        try {
            URI uri = URI.create(url);
            if (!"https".equalsIgnoreCase(uri.getScheme()) || uri.getHost() == null) {
                return false;
            }
            int port = uri.getPort() < 0 ? 443 : uri.getPort();
            try (SSLSocket socket = (SSLSocket) factory.createSocket()) {
                socket.connect(new InetSocketAddress(uri.getHost(), port), timeoutMillis);
                socket.setSoTimeout(timeoutMillis);
                socket.startHandshake();
            }
            return false;
        } catch (SSLHandshakeException e) {
            for (Throwable cause = e; cause != null; cause = cause.getCause()) {
                if (cause instanceof CertificateException) {
                    return true;
                }
            }
            return false;
        } catch (IOException | RuntimeException e) {
            return false;
        }
    }
}
