package com.vireda.peer;

import java.net.InetAddress;
import java.net.InetSocketAddress;
import java.util.concurrent.ConcurrentHashMap;

import org.eclipse.jetty.io.ChannelEndPoint;
import org.eclipse.jetty.io.Connection;
import org.eclipse.jetty.io.EndPoint;
import org.eclipse.jetty.server.ConnectionFactory;
import org.eclipse.jetty.server.Server;
import org.eclipse.jetty.server.ServerConnector;

/**
 * A server connector that keeps at most a number of open connections from one remote
 * address: one more is closed as soon as it opens.
 */
final class CappedConnector extends ServerConnector {
    private final int perAddress;
    private final ConcurrentHashMap<InetAddress, Integer> open = new ConcurrentHashMap<>();

    CappedConnector(Server server, int perAddress, ConnectionFactory... factories) {
        super(server, 1, 1, factories);
        this.perAddress = perAddress;
        addBean(new Connection.Listener() {
            @Override
            public void onOpened(Connection connection) {
                InetAddress from = networkAddress(connection);
                if (from != null && open.merge(from, 1, Integer::sum) > CappedConnector.this.perAddress) {
                    connection.getEndPoint().close();
                }
            }

            @Override
            public void onClosed(Connection connection) {
                InetAddress from = networkAddress(connection);
                if (from != null) {
                    open.computeIfPresent(from, (k, n) -> n > 1 ? n - 1 : null);
                }
            }
        });
    }

    /**
     * The remote address of a connection on the network socket; null for a connection
     * stacked on another (the HTTP connection inside a TLS one), so each socket counts once.
     */
    private static InetAddress networkAddress(Connection connection) {
        EndPoint end = connection.getEndPoint();
        if (!(end instanceof ChannelEndPoint)) {
            return null;
        }
        InetSocketAddress remote = end.getRemoteAddress();
        return remote == null ? null : remote.getAddress();
    }
}
