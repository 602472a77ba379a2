#include "ZoDbSchema.h"

#include "StoreLog.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

const char* const kStatements[] = {
    // tables
    "CREATE TABLE crlt (crid INTEGER NOT NULL PRIMARY KEY, mprmid INTEGER NOT NULL, "
    "mchmid INTEGER NOT NULL, sn INTEGER, crtcrtid INTEGER NOT NULL)",
    "CREATE TABLE f (fid INTEGER NOT NULL PRIMARY KEY, ds TIMESTAMP NOT NULL, "
    "av VARCHAR(32) DEFAULT NULL, fbv TEXT NOT NULL, fbt INTEGER DEFAULT NULL)",
    "CREATE TABLE i (iid INTEGER NOT NULL PRIMARY KEY, nid VARCHAR(32) NOT NULL DEFAULT '', "
    "cgv VARCHAR(32) NOT NULL DEFAULT '', dbv VARCHAR(32) NOT NULL DEFAULT '', "
    "ldbu DATETIME DEFAULT NULL, ldbd DATETIME DEFAULT NULL, lbd DATETIME DEFAULT NULL, "
    "ldbr DATETIME DEFAULT NULL, lbr DATETIME DEFAULT NULL, ma VARCHAR(32) DEFAULT NULL)",
    "CREATE TABLE k (kid INTEGER NOT NULL PRIMARY KEY, ktktid INTEGER NOT NULL DEFAULT '0', "
    "mlmid INTEGER NOT NULL DEFAULT '0', kv TEXT, lclid CHAR(3) DEFAULT NULL)",
    "CREATE TABLE m (lmid INTEGER NOT NULL PRIMARY KEY, pmid VARCHAR(36) DEFAULT '0', "
    "mtmtid INTEGER NOT NULL DEFAULT '0', r VARCHAR(255) DEFAULT NULL, "
    "sbuid VARCHAR(128) NOT NULL DEFAULT '0', sbun VARCHAR(32), dc TIMESTAMP NOT NULL, "
    "ip BOOL, id BOOL, ddl TIMESTAMP NOT NULL DEFAULT '0', dul TIMESTAMP NOT NULL DEFAULT '0', "
    "dnul TINYINT DEFAULT '0')",
    "CREATE TABLE mm (mlmid INTEGER NOT NULL PRIMARY KEY, mmtmmtid INTEGER NOT NULL, "
    "mmfn VARCHAR(64) NOT NULL, mmf VARCHAR(32) DEFAULT NULL, mms INTEGER, mmd TIME, mmh TEXT, "
    "mmp VARCHAR(255) DEFAULT NULL, v VARCHAR(32), ssssid INTEGER, cccid CHAR(2) DEFAULT NULL, "
    "lclid CHAR(3) DEFAULT NULL, sp VARCHAR(32) DEFAULT NULL, l VARCHAR(32), ld VARCHAR(64), "
    "mmbr INTEGER, flflid INTEGER, mmsf INTEGER, nc INTEGER)",
    "CREATE TABLE r (rid INTEGER NOT NULL PRIMARY KEY, rtrtid INTEGER NOT NULL DEFAULT 0, "
    "rqbuid VARCHAR(36) NOT NULL DEFAULT 0, rqtmid INTEGER DEFAULT NULL, rqmmid INTEGER DEFAULT NULL, "
    "drq DATETIME NOT NULL, rsbuid VARCHAR(36) DEFAULT NULL, rstmid INTEGER DEFAULT NULL, "
    "rsmmid INTEGER DEFAULT NULL, drs DATETIME DEFAULT NULL, evrr INTEGER DEFAULT NULL)",
    "CREATE TABLE tm (mlmid INTEGER NOT NULL PRIMARY KEY, tmttmtid INTEGER NOT NULL, mt TEXT, "
    "mv TEXT, md TEXT, cccid CHAR(2) DEFAULT NULL, lclid CHAR(3) DEFAULT NULL, "
    "llllid INTEGER DEFAULT NULL, it TINYINT, ir TINYINT, sr TEXT)",
    "CREATE TABLE uf (ufid INTEGER NOT NULL PRIMARY KEY, uuid VARCHAR(36) NOT NULL, "
    "lclid CHAR(3) DEFAULT NULL, flflid INTEGER, cccid CHAR(2) DEFAULT NULL, sp VARCHAR(32), "
    "l VARCHAR(32), ns TINYINT, ld VARCHAR(64))",
    "CREATE TABLE u (uid VARCHAR(36) NOT NULL PRIMARY KEY, unm VARCHAR(16) NOT NULL, "
    "p VARCHAR(16) DEFAULT NULL, gnm VARCHAR(32) DEFAULT NULL, fnm VARCHAR(32) DEFAULT NULL, "
    "e VARCHAR(64) DEFAULT NULL, pwq TEXT, pwa VARCHAR(32) DEFAULT NULL, cccid CHAR(2), "
    "sp VARCHAR(32), l VARCHAR(32), r TEXT, rqt INTEGER, rst INTEGER, tl INTEGER, tlm INTEGER, "
    "iid INTEGER DEFAULT 0, pr INTEGER)",
    // views
    "CREATE VIEW v_tmcrlt AS SELECT crlt.mprmid, crlt.mchmid, crlt.crtcrtid, tm.mv, tm.lclid "
    "FROM crlt, tm WHERE crlt.mchmid = tm.mlmid AND tm.tmttmtid = 1",
    "CREATE VIEW v_e AS SELECT tm.mlmid, v_tmcrlt.mv, tm.lclid, mm.mmp, mm.mmfn, mm.cccid, mm.sp, "
    "mm.l, mm.v, mm.ld, m.dc, m.ddl, m.pmid, m.dul, m.dnul, v_tmcrlt.mchmid AS tmid, "
    "mm.mlmid AS mmid, mm.flflid FROM crlt, tm, mm, m, v_tmcrlt WHERE tm.tmttmtid = 2 "
    "AND tm.mlmid = crlt.mprmid AND crlt.mchmid = mm.mlmid AND v_tmcrlt.mprmid = tm.mlmid "
    "AND tm.mlmid = m.lmid",
    "CREATE VIEW v_te AS SELECT tm.mlmid, v_tmcrlt.mv, tm.lclid, m.dc, m.ddl, m.pmid, m.dul, "
    "m.dnul, v_tmcrlt.mchmid AS tmid FROM crlt, tm, m, v_tmcrlt WHERE tm.tmttmtid = 2 "
    "AND tm.mlmid = crlt.mprmid AND v_tmcrlt.mprmid = tm.mlmid AND tm.mlmid = m.lmid",
    "CREATE VIEW v_l AS SELECT tm.mlmid, tm.mt, tm.md, m.sbun AS unm, tm.lclid, tm.llllid, m.dc, "
    "m.ddl, m.dul, m.dnul, m.pmid, (SELECT COUNT(mchmid) FROM crlt,  tm AS tm1 "
    "WHERE tm1.mlmid = tm.mlmid AND tm.mlmid = crlt.mprmid) AS ec FROM tm, m "
    "WHERE tm.tmttmtid = 3 AND tm.mlmid = m.lmid",
    // indexes
    "CREATE INDEX idx_crlt_crtcrtid ON crlt (crtcrtid)",
    "CREATE INDEX idx_crlt_mchmid ON crlt (mchmid)",
    "CREATE INDEX idx_crlt_mprmid ON crlt (mprmid)",
    "CREATE INDEX idx_m_mtmtid ON m (mtmtid)",
    "CREATE INDEX idx_m_pmid ON m (pmid)",
    "CREATE INDEX idx_m_sbuid ON m (sbuid)",
    "CREATE INDEX idx_m_dc ON m (dc)",
    "CREATE INDEX idx_mm_cccid ON mm (cccid)",
    "CREATE INDEX idx_mm_flflid ON mm (flflid)",
    "CREATE INDEX idx_mm_mmfn ON mm (mmfn)",
    "CREATE INDEX idx_mm_mmtmmtid ON mm (mmtmmtid)",
    "CREATE INDEX idx_mm_sp ON mm (sp)",
    "CREATE INDEX idx_k_mlmid ON k (mlmid)",
    "CREATE INDEX idx_k_ktktid ON k (ktktid)",
    "CREATE INDEX idx_k_kv ON k (kv)",
    "CREATE INDEX idx_tm_lclid ON tm (lclid)",
    "CREATE INDEX idx_tm_llllid ON tm (llllid)",
    "CREATE INDEX idx_tm_md ON tm (md)",
    "CREATE INDEX idx_tm_mt ON tm (mt)",
    "CREATE INDEX idx_tm_mv ON tm (mv)",
    "CREATE INDEX idx_tm_tmttmtid ON tm (tmttmtid)",
    "CREATE INDEX idx_r_rtrtid ON r (rtrtid)",
    "CREATE INDEX idx_r_rqbuid ON r (rqbuid)",
    "CREATE INDEX idx_r_rsbuid ON r (rsbuid)",
    "CREATE INDEX idx_u_unm ON u (unm)",
    // trigger
    "CREATE TRIGGER t_m_delete AFTER DELETE ON m FOR EACH ROW BEGIN "
    "DELETE FROM k WHERE mlmid = OLD.lmid; DELETE FROM tm WHERE mlmid = OLD.lmid; "
    "DELETE FROM mm WHERE mlmid = OLD.lmid; DELETE FROM crlt WHERE mprmid = OLD.lmid; "
    "DELETE FROM crlt WHERE mchmid = OLD.lmid; END",
};

} // namespace

QStringList ZoDbSchema::creationStatements()
{
    QStringList lines;
    for (const char* statement : kStatements)
        lines << QLatin1Char(' ') + QLatin1String(statement) + QLatin1String("; ");
    return lines;
}

QString ZoDbSchema::creationText()
{
    QString text;
    for (const QString& line : creationStatements())
        text += line + QLatin1Char('\n');
    return text;
}

QString ZoDbSchema::versionStatement()
{
    return QStringLiteral("pragma user_version=%1").arg(Version);
}

bool ZoDbSchema::create(QSqlDatabase db)
{
    if (!db.isOpen() || !db.transaction()) {
        qCWarning(lcStore) << "schema creation: no transaction:" << db.lastError().text();
        return false;
    }
    QSqlQuery query(db);
    QStringList statements = creationStatements();
    statements << versionStatement();
    for (const QString& statement : statements) {
        if (!query.exec(statement)) {
            qCWarning(lcStore) << "schema creation failed:" << statement << query.lastError().databaseText();
            query.finish();
            db.rollback();
            return false;
        }
    }
    query.finish();
    if (!db.commit()) {
        qCWarning(lcStore) << "schema creation: commit failed:" << db.lastError().text();
        db.rollback();
        return false;
    }
    return true;
}
