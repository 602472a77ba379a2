package com.vireda.peer;

import java.sql.SQLException;
import java.util.ArrayList;
import java.util.List;
import java.util.UUID;

import org.w3c.dom.Element;

import com.vireda.xml.Envelope;
import com.vireda.xml.Xml;

/** Registration, sign-in, password reminders, fluency updates and feedback. */
public final class AccountService {
    static final int MAX_NAME = 64;
    static final int MAX_SECRET = 256;
    static final int MAX_FIELD = 1024;
    static final int MAX_COMMENT = 8000;
    static final int MAX_FLUENCIES = 100;

    private final PeerStore store;
    private final Sessions sessions;

    public AccountService(PeerStore store, Sessions sessions) {
        this.store = store;
        this.sessions = sessions;
    }

    private static String field(Element parent, String name) throws Refusal {
        String value = Xml.text(parent, name);
        if (value.length() > MAX_FIELD) {
            throw new Refusal("-3", "The field " + name + " is too long");
        }
        return value;
    }

    private static String userName(String name) throws Refusal {
        if (name.isEmpty()) {
            throw new Refusal("-3", "A user name is required");
        }
        if (name.length() > MAX_NAME || name.codePoints().anyMatch(Character::isISOControl)) {
            throw new Refusal("-3", "The user name is not valid");
        }
        return name;
    }

    private static List<PeerStore.Fluency> fluencies(Element parent, String studyingElement) throws Refusal {
        List<PeerStore.Fluency> result = new ArrayList<>();
        for (Element f : Xml.children(parent, "fluency")) {
            if (result.size() == MAX_FLUENCIES) {
                throw new Refusal("-3", "Too many fluencies");
            }
            result.add(new PeerStore.Fluency(field(f, "languageID"), field(f, "fluencyID"), field(f, "countryID"),
                    field(f, "provState"), field(f, "locality"), field(f, "localeDescriptor"),
                    field(f, studyingElement)));
        }
        return result;
    }

    public Reply register(Element request) throws Refusal, SQLException {
        Element general = Xml.child(request, "general");
        String name = userName(field(general, "username"));
        String password = Xml.text(general, "password");
        if (password.isEmpty() || password.length() > MAX_SECRET) {
            throw new Refusal("-3", "A password of at most " + MAX_SECRET + " characters is required");
        }
        String answer = Xml.text(general, "passwordAnswer");
        if (answer.length() > MAX_SECRET) {
            throw new Refusal("-3", "The password answer is too long");
        }
        byte[] salt = PasswordHasher.newSalt();
        byte[] answerSalt = answer.isEmpty() ? null : PasswordHasher.newSalt();
        PeerStore.User user = new PeerStore.User(UUID.randomUUID().toString(), name, salt,
                PasswordHasher.hash(password, salt, PasswordHasher.ITERATIONS), PasswordHasher.ITERATIONS,
                field(general, "given"), field(general, "family"), field(general, "email"), field(general, "countryID"),
                field(general, "provState"), field(general, "locality"), field(general, "passwordQuestion"), answerSalt,
                answer.isEmpty() ? null : PasswordHasher.hash(answer, answerSalt, PasswordHasher.ITERATIONS));
        if (!store.createUser(user, fluencies(request, "nonSpeaking"))) {
            throw new Refusal("-1", "The user name is already taken");
        }
        return Reply.ok(Envelope.reply("registerReply", "1",
                "<registerReply>" + Xml.element("userID", user.userId()) + "<error_description/></registerReply>"));
    }

    public Reply login(Element request) throws Refusal, SQLException {
        String name = Xml.text(request, "username");
        String password = Xml.text(request, "password");
        PeerStore.User user = name.isEmpty() ? null : store.findUser(name);
        if (user == null || !PasswordHasher.matches(password, user.salt(), user.iterations(), user.hash())) {
            return new Reply(200, Envelope.error("loginReply", "loginReply", "-1", "Wrong user name or password"), "");
        }
        StringBuilder body = new StringBuilder("<loginReply><user><general>");
        body.append(Xml.element("userID", user.userId()))
                .append(Xml.element("username", user.userName()))
                // The client keeps the password it signed in with for offline use.
                .append(Xml.element("password", password))
                .append(Xml.element("given", user.given()))
                .append(Xml.element("family", user.family()))
                .append(Xml.element("email", user.email()))
                .append(Xml.element("countryID", user.countryId()))
                .append(Xml.element("provState", user.provState()))
                .append(Xml.element("locality", user.locality()))
                .append(Xml.element("passwordQuestion", user.passwordQuestion()))
                .append(Xml.element("passwordAnswer", ""))
                .append("</general>");
        for (PeerStore.Fluency f : store.fluencies(user.userId())) {
            body.append("<fluency>")
                    .append(Xml.element("languageID", f.languageId()))
                    .append(Xml.element("localeDescriptor", f.localeDescriptor()))
                    .append(Xml.element("fluencyID", f.fluencyId()))
                    .append(Xml.element("countryID", f.countryId()))
                    .append(Xml.element("provState", f.provState()))
                    .append(Xml.element("locality", f.locality()))
                    .append(Xml.element("nonSpeaking", f.nonSpeaking()))
                    .append("</fluency>");
        }
        body.append("</user><error_description/></loginReply>");
        String token = sessions.open(new SessionUser(user.userId(), user.userName()));
        return new Reply(200, Envelope.reply("loginReply", "1", body.toString()), token);
    }

    /** The peer sends no mail itself: the request is recorded for whoever runs it. */
    public Reply passwordReminder(Element request) throws Refusal, SQLException {
        String name = Xml.text(request, "username");
        PeerStore.User user = name.isEmpty() ? null : store.findUser(name);
        if (user == null) {
            throw new Refusal("Unknown user name");
        }
        if (user.email() == null || user.email().isBlank()) {
            throw new Refusal("No e-mail address is on record for this user");
        }
        store.addReminder(user.userId());
        return Reply.ok(Envelope.reply("passwordReminderReply", "1",
                "<passwordReminderReply><error_description/></passwordReminderReply>"));
    }

    public Reply updateFluency(Element request, SessionUser session) throws Refusal, SQLException {
        if (session == null) {
            throw new Refusal("Please sign in before changing fluencies");
        }
        String name = Xml.text(request, "general", "username");
        if (!SearchIndex.fold(name).equals(SearchIndex.fold(session.userName))) {
            throw new Refusal("The user does not match the session");
        }
        store.replaceFluencies(session.userId, fluencies(request, "nonSpeaking"));
        return Reply.ok(Envelope.reply("updateFluencyReply", "1",
                "<updateFluencyReply><error_description/></updateFluencyReply>"));
    }

    public Reply feedback(Element request, SessionUser session, String origin) throws Refusal, SQLException {
        String comment = Xml.text(request, "comment");
        if (comment.isEmpty()) {
            throw new Refusal("The comment is empty");
        }
        if (comment.length() > MAX_COMMENT) {
            throw new Refusal("The comment is too long");
        }
        String kind = Xml.attr(request, "type");
        if (kind.length() > MAX_FIELD || origin.length() > MAX_FIELD) {
            throw new Refusal("The feedback header is not valid");
        }
        store.addFeedback(session == null ? null : session.userId, kind, comment, origin);
        return Reply.ok(Envelope.reply("feedbackReply", "1", "<feedbackReply><error_description/></feedbackReply>"));
    }
}
