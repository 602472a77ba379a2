package com.vireda;

/**
 * A scripted stand-in for the network client. Each method records its call;
 * texts steer the answer: "THROW" throws, "NULL" answers null, "EMPTY" an
 * empty text, "LAST" the record of the call before, "CODEPOINTS:" followed by
 * text answers the hex code points of that text. Numbers are offset per
 * method so a call that reaches the wrong method shows.
 */
public class ViredaClientNetwork {
    private String last = "";

    public ViredaClientNetwork() {
    }

    private String script(String method, String text) {
        if ("LAST".equals(text)) {
            return last;
        }
        last = method + "|" + text;
        if (text == null) {
            return "null-argument";
        }
        if (text.contains("THROW")) {
            throw new IllegalStateException("scripted failure in " + method);
        }
        if (text.contains("NULL")) {
            return null;
        }
        if (text.equals("EMPTY")) {
            return "";
        }
        if (text.startsWith("CODEPOINTS:")) {
            StringBuilder out = new StringBuilder();
            text.substring("CODEPOINTS:".length()).codePoints()
                    .forEach(cp -> out.append(out.length() == 0 ? "" : " ").append(Integer.toHexString(cp)));
            return out.toString();
        }
        return method + ":" + text;
    }

    private static void throwOn(int handle) {
        if (handle == -7) {
            throw new IllegalArgumentException("scripted failure for handle -7");
        }
    }

    public int startViredaNet() {
        return 11;
    }

    public int startMessagingService() {
        return 12;
    }

    public int startQueryService() {
        return 13;
    }

    public int startDownloadService() {
        return 14;
    }

    public int startUploadService() {
        return 15;
    }

    public int endSession() {
        return 16;
    }

    public String sendMessage(String xml) {
        return script("sendMessage", xml);
    }

    public String sendQuery(String xml) {
        return script("sendQuery", xml);
    }

    public int upload(String xml, String[] paths) {
        StringBuilder list = new StringBuilder();
        if (paths == null) {
            list.append("<no array>");
        } else {
            for (int i = 0; i < paths.length; i++) {
                list.append(i == 0 ? "" : ",").append(paths[i] == null ? "<null>" : paths[i]);
            }
        }
        last = "upload|" + xml + "|" + list;
        if (xml != null && xml.contains("THROW")) {
            throw new IllegalStateException("scripted failure in upload");
        }
        return paths == null ? 99 : 100 + paths.length;
    }

    public int uploadManifest(String xml, String kind) {
        last = "uploadManifest|" + xml + "|" + kind;
        return 21;
    }

    public int downloadManifest(String persistentId, String kind) {
        last = "downloadManifest|" + persistentId + "|" + kind;
        return 22;
    }

    public int downloadExercise(String persistentId) {
        script("downloadExercise", persistentId);
        return 23;
    }

    public int getDownloadStatus(int handle) {
        throwOn(handle);
        return handle + 1000;
    }

    public int isDownloadXmlDone(int handle) {
        throwOn(handle);
        return handle + 2000;
    }

    public int isUploadXMLDone(int handle) {
        throwOn(handle);
        return handle + 3000;
    }

    public int getUploadStatus(int handle) {
        throwOn(handle);
        return handle + 4000;
    }

    public int cancelDownload(int handle) {
        throwOn(handle);
        return handle + 5000;
    }

    public String getDownloadXML(int handle) {
        throwOn(handle);
        return handle < 0 ? null : "download-xml:" + handle;
    }

    public String getTranslationXML(int handle) {
        throwOn(handle);
        return handle < 0 ? null : "translation-xml:" + handle;
    }

    public String getUploadReply(int handle) {
        throwOn(handle);
        return handle < 0 ? null : "upload-reply:" + handle;
    }
}
