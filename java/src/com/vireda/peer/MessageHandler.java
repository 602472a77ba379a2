package com.vireda.peer;

import java.io.IOException;
import java.nio.file.Files;
import java.nio.file.Path;
import java.sql.SQLException;

import org.w3c.dom.Document;
import org.w3c.dom.Element;

import com.vireda.xml.Envelope;
import com.vireda.xml.Xml;

/** Reads one request message and answers it; bad input gets an error reply and changes nothing. */
public final class MessageHandler {
    private final AccountService accounts;
    private final ContentService content;
    private final Sessions sessions;
    private final RateLimit uploadsPerAccount;
    private final RateLimit uploadsPerAddress;

    public MessageHandler(AccountService accounts, ContentService content, Sessions sessions) {
        this(accounts, content, sessions, new PeerSettings());
    }

    public MessageHandler(AccountService accounts, ContentService content, Sessions sessions, PeerSettings settings) {
        this.accounts = accounts;
        this.content = content;
        this.sessions = sessions;
        uploadsPerAccount = new RateLimit(settings.uploadsPerAccount, settings.uploadWindowMillis, settings.clock);
        uploadsPerAddress = new RateLimit(settings.uploadsPerAddress, settings.uploadWindowMillis, settings.clock);
    }

    /** Counts an upload of a signed-in user; refused past the account's or the address's limit. */
    private void countUpload(SessionUser user, String address) throws Refusal {
        if (user == null) {
            return; // refused as not signed in
        }
        if (!uploadsPerAccount.allow(user.userId) || !uploadsPerAddress.allow(address == null ? "" : address)) {
            throw new Refusal(AccountService.TOO_MANY, "Too many uploads; please try again later");
        }
    }

    public static Reply badRequest(String description) {
        return new Reply(400, Envelope.error("error", "errorReply", "-1", description), null);
    }

    /**
     * Answers a message from the client at address. sound is a received sound file
     * (only with uploadExercise); it is taken over on success and deleted otherwise.
     */
    public Reply handle(String text, String sessionToken, Path sound, String address) {
        try {
            return dispatch(text, sessionToken, sound, address);
        } catch (RuntimeException | StackOverflowError | OutOfMemoryError e) {
            // Every request is answered, whatever went wrong inside.
            return new Reply(500, Envelope.error("error", "errorReply", "-1", "The peer could not handle the request"),
                    null);
        } finally {
            if (sound != null) {
                try {
                    Files.deleteIfExists(sound);
                } catch (IOException ignored) {
                    // a left-over temporary file is swept at the next start
                }
            }
        }
    }

    private Reply dispatch(String text, String sessionToken, Path sound, String address) {
        Document doc = Xml.parse(text);
        if (doc == null) {
            return badRequest("The message is not well-formed XML");
        }
        Element root = doc.getDocumentElement();
        if (!root.getNodeName().equals("message")) {
            return badRequest("The document is not a message");
        }
        String type = Xml.text(root, "header", "type");
        Element request = type.isEmpty() ? null : Xml.child(Xml.child(root, "body"), type);
        if (request == null) {
            return badRequest("The message body does not hold a request of its type");
        }
        if (sound != null && !type.equals("uploadExercise")) {
            return badRequest("Only an exercise upload carries a sound file");
        }
        SessionUser user = sessions.find(sessionToken);
        String replyType = type + "Reply";
        try {
            switch (type) {
            case "register":
                return accounts.register(request, address);
            case "login":
                return accounts.login(request, address, sessionToken);
            case "logout":
                sessions.close(sessionToken);
                // An empty session header clears the client's token.
                return new Reply(200, Envelope.reply(replyType, "1",
                        "<" + replyType + "><error_description/></" + replyType + ">"), "");
            case "passwordReminder":
                return accounts.passwordReminder(request, address);
            case "updateFluency":
                return accounts.updateFluency(request, user);
            case "feedback":
                return accounts.feedback(request, user, Xml.text(root, "header", "from"), address);
            case "exerciseQuery":
                return content.exerciseQuery(request);
            case "lessonQuery":
                return content.lessonQuery(request);
            case "uploadExercise":
                countUpload(user, address);
                UploadedSound.check(sound);
                return content.uploadExercise(manifest(request, "exercise"), user, sound);
            case "uploadLesson":
                countUpload(user, address);
                return content.uploadLesson(manifest(request, "lesson"), user);
            case "uploadTranslation":
                countUpload(user, address);
                return content.uploadTranslation(manifest(request, "translation"), user);
            case "downloadExercise":
                return content.downloadExercise(request);
            case "downloadLesson":
                return content.downloadLesson(request);
            case "downloadTranslation":
                return content.downloadTranslation(request);
            default:
                return badRequest("Unknown message type: " + type);
            }
        } catch (Refusal r) {
            return Reply.ok(refusal(type, replyType, r.status(), r.getMessage()));
        } catch (SQLException | IOException | RuntimeException | StackOverflowError e) {
            return new Reply(500, refusal(type, replyType, "-1", "The peer could not handle the request"), null);
        }
    }

    /** The manifest an upload carries as its request element's child. */
    private static Element manifest(Element request, String name) throws Refusal {
        Element manifest = Xml.child(request, name);
        if (manifest == null) {
            throw new Refusal("The upload holds no " + name);
        }
        return manifest;
    }

    /** Upload refusals are also given under uploadExerciseReply, where every upload's error is read. */
    private static String refusal(String type, String replyType, String status, String description) {
        String element = "<" + replyType + ">" + Xml.element("error_description", description) + "</" + replyType + ">";
        if (type.equals("uploadLesson") || type.equals("uploadTranslation")) {
            element += "<uploadExerciseReply>" + Xml.element("error_description", description)
                    + "</uploadExerciseReply>";
        }
        return Envelope.reply(replyType, status, element);
    }
}
