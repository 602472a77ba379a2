package com.vireda.peer;

import java.security.GeneralSecurityException;
import java.security.MessageDigest;
import java.security.SecureRandom;
import java.util.Arrays;

import javax.crypto.SecretKeyFactory;
import javax.crypto.spec.PBEKeySpec;

/** Salted PBKDF2 (HMAC-SHA256) hashes of secrets. */
public final class PasswordHasher {
    public static final int ITERATIONS = 120_000;
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

    public static byte[] hash(String secret, byte[] salt, int iterations) {
        char[] chars = secret.toCharArray();
        PBEKeySpec keySpec = new PBEKeySpec(chars, salt, iterations, HASH_BITS);
        try {
            return SecretKeyFactory.getInstance("PBKDF2WithHmacSHA256").generateSecret(keySpec).getEncoded();
        } catch (GeneralSecurityException e) {
            throw new IllegalStateException(e);
        } finally {
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
