package com.vireda.xml;

import java.io.IOException;
import java.io.StringReader;
import java.util.ArrayList;
import java.util.List;

import javax.xml.XMLConstants;
import javax.xml.parsers.DocumentBuilder;
import javax.xml.parsers.DocumentBuilderFactory;
import javax.xml.parsers.ParserConfigurationException;

import org.w3c.dom.Attr;
import org.w3c.dom.Document;
import org.w3c.dom.Element;
import org.w3c.dom.NamedNodeMap;
import org.w3c.dom.Node;
import org.w3c.dom.NodeList;
import org.xml.sax.ErrorHandler;
import org.xml.sax.InputSource;
import org.xml.sax.SAXException;
import org.xml.sax.SAXParseException;

/** DOM helpers: safe parsing (no DTDs, no external entities, bounded depth and attributes), look-ups and serialising. */
public final class Xml {
    /** Deepest nesting and most attributes on one element that any message may hold. */
    public static final int MAX_DEPTH = 64;
    public static final int MAX_ATTRIBUTES = 256;

    private static final DocumentBuilderFactory FACTORY = createFactory();
    private static final ThreadLocal<DocumentBuilder> BUILDER = ThreadLocal.withInitial(Xml::createBuilder);

    private Xml() {
    }

    private static DocumentBuilderFactory createFactory() {
        DocumentBuilderFactory factory = DocumentBuilderFactory.newInstance();
        factory.setNamespaceAware(false);
        factory.setXIncludeAware(false);
        factory.setExpandEntityReferences(false);
        try {
            factory.setFeature("http://apache.org/xml/features/disallow-doctype-decl", true);
            factory.setFeature("http://xml.org/sax/features/external-general-entities", false);
            factory.setFeature("http://xml.org/sax/features/external-parameter-entities", false);
            factory.setFeature(XMLConstants.FEATURE_SECURE_PROCESSING, true);
            factory.setAttribute("http://www.oracle.com/xml/jaxp/properties/maxElementDepth",
                    Integer.toString(MAX_DEPTH));
            factory.setAttribute("http://www.oracle.com/xml/jaxp/properties/elementAttributeLimit",
                    Integer.toString(MAX_ATTRIBUTES));
        } catch (ParserConfigurationException | IllegalArgumentException e) {
            throw new IllegalStateException(e);
        }
        return factory;
    }

    private static DocumentBuilder createBuilder() {
        try {
            synchronized (FACTORY) {
                DocumentBuilder builder = FACTORY.newDocumentBuilder();
                builder.setErrorHandler(new ErrorHandler() {
                    @Override
                    public void warning(SAXParseException e) {
                    }

                    @Override
                    public void error(SAXParseException e) throws SAXException {
                        throw e;
                    }

                    @Override
                    public void fatalError(SAXParseException e) throws SAXException {
                        throw e;
                    }
                });
                return builder;
            }
        } catch (ParserConfigurationException e) {
            throw new IllegalStateException(e);
        }
    }

    /** Parses text; null when it is not well-formed XML. */
    public static Document parse(String text) {
        if (text == null) {
            return null;
        }
        DocumentBuilder builder = BUILDER.get();
        builder.reset();
        try {
            return builder.parse(new InputSource(new StringReader(text)));
        } catch (SAXException | IOException e) {
            return null;
        } finally {
            builder.reset();
        }
    }

    /**
     * Why the element is past the limits of stored content (depth below it,
     * number of elements, longest name), or null when it is within them.
     * Walks without recursion.
     */
    public static String beyondLimits(Element root, int maxDepth, int maxElements, int maxName) {
        int elements = 0;
        int depth = 1;
        Node n = root;
        while (n != null) {
            if (n.getNodeType() == Node.ELEMENT_NODE) {
                if (++elements > maxElements) {
                    return "it holds more than " + maxElements + " elements";
                }
                if (depth > maxDepth) {
                    return "it is nested deeper than " + maxDepth + " levels";
                }
                if (n.getNodeName().length() > maxName) {
                    return "it has a name longer than " + maxName + " characters";
                }
                NamedNodeMap attrs = n.getAttributes();
                for (int i = 0; i < attrs.getLength(); i++) {
                    if (attrs.item(i).getNodeName().length() > maxName) {
                        return "it has a name longer than " + maxName + " characters";
                    }
                }
            }
            if (n.getFirstChild() != null) {
                n = n.getFirstChild();
                depth++;
                continue;
            }
            while (n != root && n.getNextSibling() == null) {
                n = n.getParentNode();
                depth--;
            }
            n = n == root ? null : n.getNextSibling();
        }
        return null;
    }

    public static Document newDocument() {
        DocumentBuilder builder = BUILDER.get();
        builder.reset();
        return builder.newDocument();
    }

    /** The first child element of that name (case-insensitive), or null. */
    public static Element child(Element parent, String name) {
        if (parent == null) {
            return null;
        }
        for (Node n = parent.getFirstChild(); n != null; n = n.getNextSibling()) {
            if (n.getNodeType() == Node.ELEMENT_NODE && n.getNodeName().equalsIgnoreCase(name)) {
                return (Element) n;
            }
        }
        return null;
    }

    /** The first child element, whatever its name, or null. */
    public static Element firstChild(Element parent) {
        if (parent == null) {
            return null;
        }
        for (Node n = parent.getFirstChild(); n != null; n = n.getNextSibling()) {
            if (n.getNodeType() == Node.ELEMENT_NODE) {
                return (Element) n;
            }
        }
        return null;
    }

    public static List<Element> children(Element parent, String name) {
        List<Element> result = new ArrayList<>();
        if (parent == null) {
            return result;
        }
        for (Node n = parent.getFirstChild(); n != null; n = n.getNextSibling()) {
            if (n.getNodeType() == Node.ELEMENT_NODE && n.getNodeName().equalsIgnoreCase(name)) {
                result.add((Element) n);
            }
        }
        return result;
    }

    /** The element reached by following child names from parent, or null. */
    public static Element at(Element parent, String... names) {
        Element e = parent;
        for (String name : names) {
            e = child(e, name);
            if (e == null) {
                return null;
            }
        }
        return e;
    }

    /** Trimmed text content of the element at that path; empty when absent. */
    public static String text(Element parent, String... names) {
        Element e = at(parent, names);
        return e == null ? "" : e.getTextContent().trim();
    }

    /** An attribute found without regard to case; empty when absent. */
    public static String attr(Element e, String name) {
        if (e == null) {
            return "";
        }
        NamedNodeMap attrs = e.getAttributes();
        for (int i = 0; i < attrs.getLength(); i++) {
            Attr a = (Attr) attrs.item(i);
            if (a.getName().equalsIgnoreCase(name)) {
                return a.getValue().trim();
            }
        }
        return "";
    }

    /** Removes every attribute of that name (any case) from e. */
    public static void removeAttr(Element e, String name) {
        NamedNodeMap attrs = e.getAttributes();
        for (int i = attrs.getLength() - 1; i >= 0; i--) {
            Attr a = (Attr) attrs.item(i);
            if (a.getName().equalsIgnoreCase(name)) {
                e.removeAttributeNode(a);
            }
        }
    }

    /** Sets an attribute, replacing one of the same name in any case. */
    public static void setAttr(Element e, String name, String value) {
        removeAttr(e, name);
        e.setAttribute(name, value);
    }

    /** The child element of that name, made (appended) when missing. */
    public static Element ensureChild(Element parent, String name) {
        Element e = child(parent, name);
        if (e == null) {
            e = parent.getOwnerDocument().createElement(name);
            parent.appendChild(e);
        }
        return e;
    }

    /** Replaces the content of e by one text node. */
    public static void setText(Element e, String value) {
        while (e.getFirstChild() != null) {
            e.removeChild(e.getFirstChild());
        }
        e.appendChild(e.getOwnerDocument().createTextNode(value));
    }

    public static List<Element> descendants(Element root) {
        List<Element> result = new ArrayList<>();
        NodeList all = root.getElementsByTagName("*");
        for (int i = 0; i < all.getLength(); i++) {
            result.add((Element) all.item(i));
        }
        return result;
    }

    /** Escapes text for element content or a double-quoted attribute. */
    public static String escape(String text) {
        if (text == null) {
            return "";
        }
        StringBuilder out = new StringBuilder(text.length() + 16);
        for (int i = 0; i < text.length(); i++) {
            char c = text.charAt(i);
            switch (c) {
            case '<':
                out.append("&lt;");
                break;
            case '>':
                out.append("&gt;");
                break;
            case '&':
                out.append("&amp;");
                break;
            case '"':
                out.append("&quot;");
                break;
            case '\r':
                out.append("&#13;");
                break;
            default:
                if (c < 0x20 && c != '\n' && c != '\t') {
                    out.append(' '); // not allowed in XML 1.0
                } else {
                    out.append(c);
                }
            }
        }
        return out.toString();
    }

    /** A text element written as a string. */
    public static String element(String name, String text) {
        return "<" + name + ">" + escape(text) + "</" + name + ">";
    }

    /** Serialises a node (and its subtree) without declaration or indentation. */
    public static String serialize(Node node) {
        StringBuilder out = new StringBuilder(1024);
        write(node, out);
        return out.toString();
    }

    private static void write(Node node, StringBuilder out) {
        switch (node.getNodeType()) {
        case Node.DOCUMENT_NODE:
            for (Node n = node.getFirstChild(); n != null; n = n.getNextSibling()) {
                write(n, out);
            }
            break;
        case Node.ELEMENT_NODE: {
            out.append('<').append(node.getNodeName());
            NamedNodeMap attrs = node.getAttributes();
            for (int i = 0; i < attrs.getLength(); i++) {
                Attr a = (Attr) attrs.item(i);
                out.append(' ').append(a.getName()).append("=\"").append(escape(a.getValue())).append('"');
            }
            if (node.getFirstChild() == null) {
                out.append("/>");
                break;
            }
            out.append('>');
            for (Node n = node.getFirstChild(); n != null; n = n.getNextSibling()) {
                write(n, out);
            }
            out.append("</").append(node.getNodeName()).append('>');
            break;
        }
        case Node.TEXT_NODE:
            out.append(escape(node.getNodeValue()));
            break;
        case Node.CDATA_SECTION_NODE:
            out.append("<![CDATA[").append(node.getNodeValue().replace("]]>", "]]]]><![CDATA[>")).append("]]>");
            break;
        default:
            break; // comments and processing instructions are not carried
        }
    }
}
