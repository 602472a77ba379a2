package com.vireda.archive;

import com.vireda.ViredaClientNetwork;

/**
 * Starts the client and its services as the program does before it asks the
 * learner to sign in, so that the virtual machine can list the classes this
 * loads. Run at build time with a temporary working directory as the only
 * argument. Classes loaded later are left out: every class in the archive is
 * resident from the start.
 */
public final class ArchiveTraining {
    private ArchiveTraining() {
    }

    public static void main(String[] args) {
        if (args.length != 1) {
            System.err.println("usage: ArchiveTraining <working directory>");
            System.exit(2);
        }
        System.setProperty("vireda.workdir", args[0]);
        ViredaClientNetwork client = new ViredaClientNetwork();
        if (client.startViredaNet() != 1) {
            System.err.println("the client did not reach its peer");
            System.exit(1);
        }
        client.startMessagingService();
        client.startQueryService();
        client.startDownloadService();
        client.startUploadService();
        System.exit(0);
    }
}
