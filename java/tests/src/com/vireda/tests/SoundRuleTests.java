package com.vireda.tests;

import com.vireda.ViredaClientNetwork;
import com.vireda.client.PeerLink;
import com.vireda.sound.WavRule;
import com.vireda.xml.Xml;
import java.io.ByteArrayOutputStream;
import java.nio.ByteBuffer;
import java.nio.ByteOrder;
import java.nio.charset.StandardCharsets;
import java.nio.file.Files;
import java.nio.file.Path;
import org.w3c.dom.Element;

/** The sound rule of the client and the peer: the same rows as the player's table (tst_zoaudio). */
final class SoundRuleTests {
    private SoundRuleTests() {
    }

    static byte[] chunk(String id, byte[] body, long size) {
        ByteBuffer b = ByteBuffer.allocate(8 + body.length + (body.length & 1)).order(ByteOrder.LITTLE_ENDIAN);
        b.put(id.getBytes(StandardCharsets.US_ASCII)).putInt((int) size).put(body);
        return b.array();
    }

    static byte[] chunk(String id, byte[] body) {
        return chunk(id, body, body.length);
    }

    static byte[] format(int tag, int channels, int rate, int bits, int blockAlign) {
        return ByteBuffer.allocate(16).order(ByteOrder.LITTLE_ENDIAN).putShort((short) tag).putShort((short) channels)
                .putInt(rate).putInt(rate * blockAlign).putShort((short) blockAlign).putShort((short) bits).array();
    }

    static byte[] format(int tag, int channels, int rate, int bits) {
        return format(tag, channels, rate, bits, channels * bits / 8);
    }

    static byte[] extensible(int subTag, int channels, int rate, int bits) {
        ByteBuffer b = ByteBuffer.allocate(40).order(ByteOrder.LITTLE_ENDIAN);
        b.put(format(0xFFFE, channels, rate, bits)).putShort((short) 22).putShort((short) bits).putInt(4)
                .putShort((short) subTag);
        b.put(new byte[] {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, (byte) 0x80, 0x00, 0x00, (byte) 0xAA, 0x00, 0x38,
            (byte) 0x9B, 0x71});
        return b.array();
    }

    static byte[] riff(byte[]... chunks) {
        ByteArrayOutputStream out = new ByteArrayOutputStream();
        int length = 4;
        for (byte[] c : chunks) {
            length += c.length;
        }
        ByteBuffer head = ByteBuffer.allocate(12).order(ByteOrder.LITTLE_ENDIAN);
        head.put("RIFF".getBytes(StandardCharsets.US_ASCII)).putInt(length).put("WAVE".getBytes(StandardCharsets.US_ASCII));
        out.writeBytes(head.array());
        for (byte[] c : chunks) {
            out.writeBytes(c);
        }
        return out.toByteArray();
    }

    static byte[] wav(int tag, int channels, int rate, int bits, byte[] samples) {
        return riff(chunk("fmt ", format(tag, channels, rate, bits)), chunk("data", samples));
    }

    static byte[] bytes(String s) {
        return s.getBytes(StandardCharsets.ISO_8859_1);
    }

    /** name, file, why it is refused (null: it plays). */
    static Object[][] rows() {
        byte[] mono16 = chunk("fmt ", format(1, 1, 16000, 16));
        byte[] two = {7, 0, -8, -1};
        return new Object[][] {
            {"8-bit PCM", wav(1, 1, 8000, 8, bytes("\u0000\u0080\u00ff")), null},
            {"16-bit PCM stereo", wav(1, 2, 44100, 16, new byte[8]), null},
            {"24-bit PCM", wav(1, 1, 48000, 24, new byte[12]), null},
            {"24-bit PCM, extensible", riff(chunk("fmt ", extensible(1, 2, 48000, 24)), chunk("data", new byte[6])),
                null},
            {"32-bit PCM", wav(1, 1, 8000, 32, new byte[12]), null},
            {"32-bit float", wav(3, 1, 22050, 32, new byte[8]), null},
            {"64-bit float", wav(3, 1, 22050, 64, new byte[24]), null},
            {"mu-law", wav(7, 1, 8000, 8, new byte[3]), null},
            {"A-law", wav(6, 1, 8000, 8, new byte[4]), null},
            {"other chunks first, odd one padded",
                riff(chunk("LIST", bytes("INFOjunk")), chunk("fact", bytes("odd")), mono16, chunk("data", two)), null},
            {"data before fmt", riff(chunk("data", two), mono16), null},
            {"data size 0, samples follow", riff(mono16, chunk("data", two, 0)), null},
            {"data size 0xFFFFFFFF", riff(mono16, chunk("data", two, 0xFFFFFFFFL)), null},
            {"data size past the end", riff(mono16, chunk("data", two, 1000)), null},
            {"MS-ADPCM", riff(chunk("fmt ", format(2, 1, 8000, 4, 256)), chunk("data", new byte[512])),
                "its encoding (MS-ADPCM) does not play"},
            {"12-bit PCM", wav(1, 1, 8000, 12, new byte[64]), "its encoding (PCM, 12 bit) does not play"},
            {"MPEG in an extensible header", riff(chunk("fmt ", extensible(0x55, 1, 8000, 16)), chunk("data", two)),
                "its encoding (MPEG Layer 3) does not play"},
            {"RIFF header followed by junk", bytes("RIFF\u0028\u0000\u0000\u0000WAVEthis is no sound at all, really"),
                "it has no format chunk"},
            {"a program", bytes("MZ\u0090\u0000\u0003\u0000\u0000\u0000\u0004\u0000\u0000\u0000\u00ff\u00ff\u0000\u0000"),
                "it is not a WAV sound"},
            {"empty data chunk", riff(mono16, chunk("data", new byte[0])), "it holds no samples"},
            {"1-byte data chunk", riff(mono16, chunk("data", new byte[] {1})), "it holds no samples"},
            {"no data chunk", riff(mono16), "it holds no samples"},
            {"data to the end before fmt", riff(chunk("data", two, 0), mono16), "it has no format chunk"},
            {"sample rate 0", wav(1, 1, 0, 16, two), "its sample rate is 0"},
            {"sample rate 8 Hz", wav(1, 1, 8, 16, two), "its sample rate of 8 Hz does not play"},
            {"no channels", wav(1, 0, 8000, 16, two), "it has no channels"},
            {"frame size not the format's", riff(chunk("fmt ", format(1, 2, 8000, 16, 3)), chunk("data", two)),
                "its frame size does not match its format"},
        };
    }

    /** Each row is kept or refused with its reason, as a file and as bytes, by the client's check too. */
    static void rulesMatchThePlayer() throws Exception {
        Path dir = Files.createTempDirectory("vireda-sound");
        try {
            Path file = dir.resolve("a.wav");
            for (Object[] r : rows()) {
                byte[] bytes = (byte[]) r[1];
                Files.write(file, bytes);
                Check.equal(r[2], WavRule.refusal(file), r[0] + " (file)");
                Check.equal(r[2], WavRule.refusal(bytes, bytes.length), r[0] + " (bytes)");
                Check.equal(r[2] == null, PeerLink.isWavHeader(bytes, bytes.length), r[0] + " (client)");
            }
            // Past the size limit (sparse): refused whatever it holds.
            byte[] limit = riff(mono16Format(), chunk("data", new byte[0], 0xFFFFFFFFL));
            Files.write(file, limit);
            try (java.io.RandomAccessFile f = new java.io.RandomAccessFile(file.toFile(), "rw")) {
                f.setLength(WavRule.MAX_BYTES);
                Check.equal(null, WavRule.refusal(file), "at the limit");
                f.setLength(WavRule.MAX_BYTES + 1);
            }
            Check.equal("it is larger than 32 MB", WavRule.refusal(file), "past the limit");
            Check.equal("it is not a readable file", WavRule.refusal(dir), "a folder");
        } finally {
            PeerFixture.deleteTree(dir);
        }
    }

    private static byte[] mono16Format() {
        return chunk("fmt ", format(1, 1, 16000, 16));
    }

    /** The peer keeps a sound that plays and refuses every other upload, saying why. */
    static void peerKeepsOnlySounds() throws Exception {
        Path dir = Files.createTempDirectory("vireda-client");
        try {
            ViredaClientNetwork c = ClientTests.startIn(dir, null, 1);
            c.sendMessage(PeerFixture.message("register", "<general><username>ann_lee</username><password>pw</password>"
                    + "</general>"));
            Element login = ClientTests.reply(c.sendMessage(PeerFixture.message("login",
                    "<username>ann_lee</username><password>pw</password>")));
            Check.equal("1", Xml.text(login, "header", "status"), "login");
            byte[] random = new byte[4096];
            new java.util.Random(7).nextBytes(random);
            Object[][] uploads = {
                {"a sound", wav(1, 1, 16000, 24, new byte[300]), null},
                {"a program", bytes("MZ\u0090\u0000\u0003\u0000\u0000\u0000\u0004\u0000program"), "it is not a WAV sound"},
                {"random bytes", random, "it is not a WAV sound"},
                {"RIFF/WAVE and junk", bytes("RIFF\u0028\u0000\u0000\u0000WAVEthis is no sound at all, really"),
                    "it has no format chunk"},
            };
            for (Object[] u : uploads) {
                Files.write(dir.resolve("Content/up.wav"), (byte[]) u[1]);
                int up = c.upload(PeerFixture.message("uploadExercise", PeerFixture.exercise("perro", "spa", "Ann",
                        null)), new String[] {"up.wav"});
                Check.isTrue(ClientTests.waitFor(() -> c.isUploadXMLDone(up), 1), u[0] + ": upload done");
                Element reply = ClientTests.reply(c.getUploadReply(up));
                String why = Xml.text(reply, "body", "uploadExerciseReply", "error_description");
                Check.equal(u[2] == null ? "1" : "-1", Xml.text(reply, "header", "status"), u[0] + ": status");
                Check.equal(u[2] == null ? "" : "The sound is refused: " + u[2], why, (String) u[0]);
            }
            // Nothing of the refused ones stays in the peer's media folder: one sound was kept.
            try (java.util.stream.Stream<Path> media = Files.list(dir.resolve("PeerData").resolve("media"))) {
                Check.equal(1L, media.filter(p -> !p.getFileName().toString().startsWith(".")).count(), "kept sounds");
            }
        } finally {
            PeerFixture.deleteTree(dir);
        }
    }
}
