package com.vireda.sound;

import java.io.IOException;
import java.io.RandomAccessFile;
import java.nio.file.Files;
import java.nio.file.Path;
import java.util.Arrays;

/**
 * What a sound is, the rule the program's player and download gate follow: a
 * RIFF/WAVE file of at most MAX_BYTES holding integer PCM (8, 16, 24, 32 bit),
 * float (32, 64 bit), mu-law or A-law samples, also in a WAVE_FORMAT_EXTENSIBLE
 * header, a sample rate of 1000 to 384000 Hz, 1 to 8 channels, and at least
 * one whole frame of samples. Reads the chunk headers only.
 */
public final class WavRule {
    public static final long MAX_BYTES = 32L << 20;
    private static final int MAX_CHUNKS = 4096;
    private static final byte[] SUB_FORMAT_TAIL = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, (byte) 0x80, 0x00, 0x00,
        (byte) 0xAA, 0x00, 0x38, (byte) 0x9B, 0x71};

    private WavRule() {
    }

    /** Random access to the bytes of a file or an array. */
    private interface Source {
        long length() throws IOException;

        /** Up to n bytes from offset; fewer at the end. */
        byte[] read(long offset, int n) throws IOException;
    }

    /** Why the file is no sound that plays, or null when it is one. */
    public static String refusal(Path file) {
        try {
            if (!Files.isRegularFile(file)) {
                return "it is not a readable file";
            }
            try (RandomAccessFile in = new RandomAccessFile(file.toFile(), "r")) {
                return refusal(new Source() {
                    @Override
                    public long length() throws IOException {
                        return in.length();
                    }

                    @Override
                    public byte[] read(long offset, int n) throws IOException {
                        in.seek(offset);
                        byte[] b = new byte[n];
                        int done = 0;
                        while (done < n) {
                            int k = in.read(b, done, n - done);
                            if (k < 0) {
                                break;
                            }
                            done += k;
                        }
                        return done == n ? b : Arrays.copyOf(b, done);
                    }
                });
            }
        } catch (IOException e) {
            return "it is not a readable file";
        }
    }

    /** Why bytes[0..length), a whole file, are no sound that plays, or null when they are one. */
    public static String refusal(byte[] bytes, int length) {
        try {
            return refusal(new Source() {
                @Override
                public long length() {
                    return length;
                }

                @Override
                public byte[] read(long offset, int n) {
                    int from = (int) Math.min(offset, length);
                    return Arrays.copyOfRange(bytes, from, (int) Math.min((long) from + n, length));
                }
            });
        } catch (IOException e) {
            return "it is not a readable file";
        }
    }

    /** True when start holds a RIFF/WAVE signature: what a sound's first 12 bytes must be. */
    public static boolean isRiffWave(byte[] start, int length) {
        return length >= 12 && start[0] == 'R' && start[1] == 'I' && start[2] == 'F' && start[3] == 'F'
                && start[8] == 'W' && start[9] == 'A' && start[10] == 'V' && start[11] == 'E';
    }

    private static int u16(byte[] b, int i) {
        return (b[i] & 0xFF) | (b[i + 1] & 0xFF) << 8;
    }

    private static long u32(byte[] b, int i) {
        return (u16(b, i) | (long) u16(b, i + 2) << 16) & 0xFFFFFFFFL;
    }

    private static boolean id(byte[] b, String name) {
        for (int i = 0; i < 4; i++) {
            if (b[i] != name.charAt(i)) {
                return false;
            }
        }
        return true;
    }

    private static String tagName(int tag) {
        switch (tag) {
        case 1: return "PCM";
        case 2: return "MS-ADPCM";
        case 3: return "IEEE float";
        case 6: return "A-law";
        case 7: return "mu-law";
        case 0x11: return "IMA-ADPCM";
        case 0x31: return "GSM 6.10";
        case 0x55: return "MPEG Layer 3";
        default: return String.format("format 0x%04x", tag);
        }
    }

    private static String refusal(Source in) throws IOException {
        long size = in.length();
        if (size > MAX_BYTES) {
            return "it is larger than " + (MAX_BYTES >> 20) + " MB";
        }
        byte[] riff = in.read(0, 12);
        if (!isRiffWave(riff, riff.length)) {
            return "it is not a WAV sound";
        }
        long pos = 12;
        int blockAlign = 0;
        long dataOffset = -1;
        long dataSize = 0;
        for (int chunks = 0; pos + 8 <= size && chunks < MAX_CHUNKS; chunks++) {
            byte[] chunk = in.read(pos, 8);
            if (chunk.length < 8) {
                return "it is not a readable file";
            }
            long chunkSize = u32(chunk, 4);
            long body = pos + 8;
            long available = size - body;
            if (id(chunk, "fmt ")) {
                if (blockAlign > 0) {
                    return "it has two format chunks";
                }
                if (chunkSize > available) {
                    return "its format chunk is cut short";
                }
                byte[] f = in.read(body, (int) Math.min(chunkSize, 40));
                String why = formatRefusal(f);
                if (why != null) {
                    return why;
                }
                blockAlign = u16(f, 12);
            } else if (id(chunk, "data") && dataOffset < 0) {
                dataOffset = body;
                dataSize = chunkSize;
                if (chunkSize == 0 || chunkSize == 0xFFFFFFFFL || chunkSize >= available) {
                    break;
                }
            }
            if (blockAlign > 0 && dataOffset >= 0) {
                break;
            }
            pos = body + chunkSize + (chunkSize & 1);
        }
        if (blockAlign == 0) {
            return "it has no format chunk";
        }
        if (dataOffset < 0) {
            return "it holds no samples";
        }
        long available = size - dataOffset;
        long length = dataSize == 0 || dataSize == 0xFFFFFFFFL ? available : Math.min(dataSize, available);
        if (length - length % blockAlign <= 0) {
            return "it holds no samples";
        }
        return null;
    }

    private static String formatRefusal(byte[] f) {
        if (f.length < 16) {
            return "its format chunk is cut short";
        }
        int tag = u16(f, 0);
        int channels = u16(f, 2);
        long rate = u32(f, 4);
        int blockAlign = u16(f, 12);
        int bits = u16(f, 14);
        if (tag == 0xFFFE) {
            if (f.length < 40 || u16(f, 16) < 22) {
                return "its extensible format chunk is cut short";
            }
            tag = Arrays.equals(Arrays.copyOfRange(f, 26, 40), SUB_FORMAT_TAIL) ? u16(f, 24) : 0xFFFF;
        }
        String name = tagName(tag);
        if (channels < 1) {
            return "it has no channels";
        }
        if (rate == 0) {
            return "its sample rate is 0";
        }
        boolean plays = (tag == 1 && (bits == 8 || bits == 16 || bits == 24 || bits == 32))
                || (tag == 3 && (bits == 32 || bits == 64)) || ((tag == 6 || tag == 7) && bits == 8);
        if (!plays) {
            boolean known = tag == 1 || tag == 3 || tag == 6 || tag == 7;
            return "its encoding (" + name + (known ? ", " + bits + " bit" : "") + ") does not play";
        }
        if (channels > 8) {
            return "it has " + channels + " channels, more than 8";
        }
        if (rate < 1000 || rate > 384000) {
            return "its sample rate of " + rate + " Hz does not play";
        }
        if (blockAlign != channels * bits / 8) {
            return "its frame size does not match its format";
        }
        return null;
    }
}
