package com.vireda.peer;

import java.security.SecureRandom;
import java.sql.SQLException;
import java.util.ArrayList;
import java.util.List;
import java.util.UUID;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.atomic.AtomicInteger;
import java.util.regex.Pattern;

import org.w3c.dom.Element;

import jakarta.mail.MessagingException;

import com.vireda.xml.Envelope;
import com.vireda.xml.Xml;

/** Registration, sign-in, password reminders, fluency updates and feedback. */
public final class AccountService {
    /** The registration form's rule: 6 to 16 letters a-z in either case, digits, '.' and '_'. */
    static final Pattern NAME = Pattern.compile("[A-Za-z0-9._]{6,16}");
    /** The status of a request refused because its address sent too many. */
    public static final String TOO_MANY = "-4";
    static final int MAX_SECRET = 256;
    static final int MAX_FIELD = 1024;
    static final int MAX_COMMENT = 8000;
    static final int MAX_FLUENCIES = 100;

    /**
     * Hashed against in place of an unknown user's, so every wrong sign-in costs
     * the same time; random bytes that no password's hash will equal.
     */
    private static final byte[] DECOY_SALT = PasswordHasher.newSalt();
    private static final byte[] DECOY_HASH = PasswordHasher.randomHash();

    private final PeerStore store;
    private final Sessions sessions;
    private final PeerSettings settings;
    private final RateLimit registrations;
    private final RateLimit signIns;
    private final GuessDelay accountGuesses;
    private final GuessDelay accountAtAddressGuesses;
    private final RateLimit remindersPerName;
    private final RateLimit remindersPerAddress;
    private final RateLimit feedbackPerAccount;
    private final RateLimit feedbackPerAddress;
    private final ConcurrentHashMap<String, AtomicInteger> signInsRunning = new ConcurrentHashMap<>();

    public AccountService(PeerStore store, Sessions sessions) {
        this(store, sessions, new PeerSettings());
    }

    public AccountService(PeerStore store, Sessions sessions, PeerSettings settings) {
        this.store = store;
        this.sessions = sessions;
        this.settings = settings;
        registrations = new RateLimit(settings.registrationsPerAddress, settings.registrationWindowMillis,
                settings.clock);
        signIns = new RateLimit(settings.signInsPerAddress, settings.signInWindowMillis, settings.clock);
        accountGuesses = new GuessDelay(settings.freeFailuresPerAccount, settings.firstFailureWaitMillis,
                settings.longestFailureWaitMillis, settings.failuresForgottenMillis, settings.clock);
        accountAtAddressGuesses = new GuessDelay(settings.freeFailuresPerAccountAndAddress,
                settings.firstFailureWaitMillis, settings.longestFailureWaitMillis, settings.failuresForgottenMillis,
                settings.clock);
        remindersPerName = new RateLimit(settings.remindersPerName, settings.reminderWindowMillis, settings.clock);
        remindersPerAddress = new RateLimit(settings.remindersPerAddress, settings.reminderWindowMillis,
                settings.clock);
        feedbackPerAccount = new RateLimit(settings.feedbackPerAccount, settings.feedbackWindowMillis, settings.clock);
        feedbackPerAddress = new RateLimit(settings.feedbackPerAddress, settings.feedbackWindowMillis, settings.clock);
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
        if (!NAME.matcher(name).matches()) {
            throw new Refusal("-3", "A user name is 6 to 16 letters a-z or A-Z, digits, '.' and '_'");
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

    public Reply register(Element request, String address) throws Refusal, SQLException {
        Element general = Xml.child(request, "general");
        String name = userName(field(general, "username"));
        if (!registrations.allow(address)) {
            throw new Refusal(TOO_MANY, "Too many registrations from this address; please try again later");
        }
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

    /** A sign-in refused before its password was looked at. */
    private static Reply busy(String why) {
        return new Reply(429, Envelope.error("loginReply", "loginReply", TOO_MANY, why), null);
    }

    public Reply login(Element request, String address, String previousSession) throws Refusal, SQLException {
        String key = address == null ? "" : address;
        // Names are one account in any case of letters.
        String account = SearchIndex.fold(Xml.text(request, "username"));
        String accountAtAddress = account + "\n" + key;
        long wait = Math.max(accountGuesses.waitMillis(account), accountAtAddressGuesses.waitMillis(accountAtAddress));
        if (wait > 0) {
            return busy("Too many wrong passwords for this user; please try again in " + (wait + 999) / 1000
                    + " seconds");
        }
        if (!signIns.allow(key)) {
            return busy("Too many sign-ins from this address; please try again in a minute");
        }
        AtomicInteger running = signInsRunning.computeIfAbsent(key, k -> new AtomicInteger());
        try {
            if (running.incrementAndGet() > settings.signInsAtOncePerAddress) {
                return busy("Too many sign-ins at once from this address; please try again");
            }
            Reply reply = checkedLogin(request, previousSession);
            if (reply.session == null || reply.session.isEmpty()) {
                accountGuesses.failed(account);
                accountAtAddressGuesses.failed(accountAtAddress);
            } else {
                // The owner's own address is free again; the account stays watched while it is guessed at.
                accountAtAddressGuesses.succeeded(accountAtAddress);
            }
            return reply;
        } finally {
            if (running.decrementAndGet() == 0) {
                signInsRunning.remove(key, running);
            }
        }
    }

    private Reply checkedLogin(Element request, String previousSession) throws Refusal, SQLException {
        String name = Xml.text(request, "username");
        String password = Xml.text(request, "password");
        PeerStore.User user = name.isEmpty() ? null : store.findUser(name);
        boolean matches;
        if (user == null) {
            PasswordHasher.matches(password, DECOY_SALT, PasswordHasher.ITERATIONS, DECOY_HASH);
            matches = false;
        } else {
            matches = PasswordHasher.matches(password, user.salt(), user.iterations(), user.hash())
                    || usedOneTimePassword(user, password);
        }
        if (!matches) {
            return new Reply(200, Envelope.error("loginReply", "loginReply", "-1", "Wrong user name or password"), "");
        }
        // A client signing in again leaves its earlier session.
        sessions.close(previousSession);
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

    /** Characters of one-time passwords: those the registration form accepts, without look-alikes. */
    private static final char[] ONE_TIME_CHARACTERS =
            "ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnpqrstuvwxyz23456789".toCharArray();
    private static final int ONE_TIME_LENGTH = 12;
    static final long ONE_TIME_LIMIT_MILLIS = 24L * 60 * 60 * 1000;
    private static final SecureRandom RANDOM = new SecureRandom();

    /**
     * Mails the user a one-time password, which replaces the password at its first use.
     * Without a mail server in the peer's settings reminders are not available (status -2).
     */
    public Reply passwordReminder(Element request, String address) throws Refusal, SQLException {
        if (!settings.canSendMail()) {
            throw new Refusal("-2", "Password reminders are not available on this network");
        }
        String name = Xml.text(request, "username");
        if (name.isEmpty()) {
            throw new Refusal("-3", "A user name is required");
        }
        if (name.length() > MAX_FIELD) {
            throw new Refusal("-3", "The field username is too long");
        }
        // Counted whether the name is registered or not, so the limits tell nothing either.
        if (!remindersPerAddress.allow(address == null ? "" : address)) {
            throw new Refusal(TOO_MANY, "Too many password reminders from this address; please try again later");
        }
        if (!remindersPerName.allow(SearchIndex.fold(name))) {
            throw new Refusal(TOO_MANY, "Too many password reminders for this name; please try again later");
        }
        PeerStore.User user = store.findUser(name);
        // Unknown names and names without a mail address get the same answer as a mailed reminder.
        if (user == null || user.email() == null || user.email().isBlank()) {
            PasswordHasher.hash(name, DECOY_SALT, PasswordHasher.ITERATIONS);
            return reminderSent();
        }
        char[] chars = new char[ONE_TIME_LENGTH];
        for (int i = 0; i < chars.length; i++) {
            chars[i] = ONE_TIME_CHARACTERS[RANDOM.nextInt(ONE_TIME_CHARACTERS.length)];
        }
        String oneTime = new String(chars);
        try {
            new ReminderMail(settings).send(user.email(), user.userName(), oneTime);
        } catch (MessagingException e) {
            throw new Refusal("The reminder could not be mailed; please try again later");
        }
        byte[] salt = PasswordHasher.newSalt();
        store.setOneTimePassword(user.userId(), salt, PasswordHasher.hash(oneTime, salt, PasswordHasher.ITERATIONS),
                PasswordHasher.ITERATIONS, settings.clock.getAsLong());
        return reminderSent();
    }

    private static Reply reminderSent() {
        return Reply.ok(Envelope.reply("passwordReminderReply", "1",
                "<passwordReminderReply><error_description/></passwordReminderReply>"));
    }

    /** True when password is the user's unexpired one-time password, which then becomes the password. */
    private boolean usedOneTimePassword(PeerStore.User user, String password) throws SQLException {
        PeerStore.OneTimePassword oneTime = store.oneTimePassword(user.userId());
        if (oneTime == null || settings.clock.getAsLong() - oneTime.created() > ONE_TIME_LIMIT_MILLIS
                || !PasswordHasher.matches(password, oneTime.salt(), oneTime.iterations(), oneTime.hash())) {
            return false;
        }
        byte[] salt = PasswordHasher.newSalt();
        store.replacePassword(user.userId(), salt, PasswordHasher.hash(password, salt, PasswordHasher.ITERATIONS),
                PasswordHasher.ITERATIONS);
        return true;
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

    public Reply feedback(Element request, SessionUser session, String origin, String address)
            throws Refusal, SQLException {
        if ((session != null && !feedbackPerAccount.allow(session.userId))
                || !feedbackPerAddress.allow(address == null ? "" : address)) {
            throw new Refusal(TOO_MANY, "Too many suggestions; please try again later");
        }
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
        // Suggestions are anonymous: neither the user nor the sender's addresses are kept.
        store.addFeedback(null, kind, comment, "");
        return Reply.ok(Envelope.reply("feedbackReply", "1", "<feedbackReply><error_description/></feedbackReply>"));
    }
}
