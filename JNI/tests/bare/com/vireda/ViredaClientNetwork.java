package com.vireda;

/** A client without any of the methods the bridge calls. */
public class ViredaClientNetwork {
    public ViredaClientNetwork() {
    }
}
