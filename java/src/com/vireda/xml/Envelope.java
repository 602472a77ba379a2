package com.vireda.xml;

/** Builds message texts: a declaration, then message/header/body. */
public final class Envelope {
    public static final String DECLARATION = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

    private Envelope() {
    }

    /** A reply message; bodyContent is already XML. */
    public static String reply(String type, String status, String bodyContent) {
        StringBuilder out = new StringBuilder(bodyContent.length() + 256);
        out.append(DECLARATION).append("<message><header>")
                .append(Xml.element("from", "peer"))
                .append(Xml.element("to", ""))
                .append(Xml.element("type", type))
                .append(Xml.element("status", status))
                .append("</header><body>").append(bodyContent).append("</body></message>");
        return out.toString();
    }

    /** A reply whose body holds one element with an error description. */
    public static String error(String type, String replyElement, String status, String description) {
        return reply(type, status, "<" + replyElement + ">" + Xml.element("error_description", description)
                + "</" + replyElement + ">");
    }

    /** A request message with one body element holding text children. */
    public static String request(String type, String... namesAndValues) {
        StringBuilder body = new StringBuilder();
        body.append('<').append(type).append('>');
        for (int i = 0; i + 1 < namesAndValues.length; i += 2) {
            body.append(Xml.element(namesAndValues[i], namesAndValues[i + 1]));
        }
        body.append("</").append(type).append('>');
        return DECLARATION + "<message><header>" + Xml.element("from", "client") + Xml.element("to", "")
                + Xml.element("type", type) + "</header><body>" + body + "</body></message>";
    }
}
