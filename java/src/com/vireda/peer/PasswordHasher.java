package com.vireda.peer;

import java.security.GeneralSecurityException;
import java.security.MessageDigest;
import java.security.SecureRandom;
import java.util.Arrays;
import java.util.concurrent.Semaphore;
import java.util.concurrent.atomic.AtomicInteger;

import javax.crypto.SecretKeyFactory;
import javax.crypto.spec.PBEKeySpec;

/**
 * Salted PBKDF2 (HMAC-SHA256) hashes of secrets. Each takes tens of
 * milliseconds of a core, so only one core in eight hashes at once and the
 * other requests keep the rest during a rush of sign-ins; the rest wait their
 * turn (one core hashes a class of 30 in about a second).
 */
public final class PasswordHasher {
    public static final int ITERATIONS = 120_000;
    /** Hashes computed at the same time, at most. */
    public static final int AT_ONCE = Math.max(1, Runtime.getRuntime().availableProcessors() / 8);
    private static final Semaphore TURNS = new Semaphore(AT_ONCE, true);
    private static final AtomicInteger RUNNING = new AtomicInteger();
    private static final AtomicInteger MOST_RUNNING = new AtomicInteger();
    private static final int SALT_BYTES = 16;
    private static final int HASH_BITS = 256;
    private static final SecureRandom RANDOM = new SecureRandom();

    private PasswordHasher() {
    }

    public static byte[] newSalt() {
        byte[] salt = new byte[SALT_BYTES];
        RANDOM.nextBytes(salt);
        return salt;
    }

    /** Random bytes of a hash's length, equal to no real hash. */
    public static byte[] randomHash() {
        byte[] bytes = new byte[HASH_BITS / 8];
        RANDOM.nextBytes(bytes);
        return bytes;
    }

    /** The most hashes that ran at the same time since the start. */
    public static int mostAtOnce() {
        return MOST_RUNNING.get();
    }

    public static byte[] hash(String secret, byte[] salt, int iterations) {
        char[] chars = secret.toCharArray();
        PBEKeySpec keySpec = new PBEKeySpec(chars, salt, iterations, HASH_BITS);
        TURNS.acquireUninterruptibly();
        try {
            MOST_RUNNING.accumulateAndGet(RUNNING.incrementAndGet(), Math::max);
            return SecretKeyFactory.getInstance("PBKDF2WithHmacSHA256").generateSecret(keySpec).getEncoded();
        } catch (GeneralSecurityException e) {
            throw new IllegalStateException(e);
        } finally {
            RUNNING.decrementAndGet();
            TURNS.release();
            keySpec.clearPassword();
            Arrays.fill(chars, '\0');
        }
    }

    /** Compares in constant time. */
    public static boolean matches(String secret, byte[] salt, int iterations, byte[] expected) {
        if (secret == null || salt == null || expected == null || iterations <= 0) {
            return false;
        }
        return MessageDigest.isEqual(hash(secret, salt, iterations), expected);
    }
}
