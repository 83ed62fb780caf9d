-- The demo till tables for Microsoft SQL Server: xlsload init-db
-- odbc:CONNECTION-STRING creates them.

CREATE TABLE INVT_MT_CLASS (
    ID int IDENTITY(1,1) NOT NULL,
    CLASSTYPECODE varchar(20) NOT NULL,
    CLASSCODE varchar(20) NOT NULL,
    CLASSNAME varchar(100),
    APPCODE varchar(20),
    DATECREATED datetime,
    LASTUPDATE datetime,
    CONSTRAINT PK_INVT_MT_CLASS PRIMARY KEY (CLASSCODE, CLASSTYPECODE)
);

CREATE TABLE INVT_MT_ITEM (
    ID int IDENTITY(1,1) NOT NULL,
    ITEMCODE varchar(20) NOT NULL,
    ITEMNAME varchar(100),
    CLASSCODE1 varchar(20),
    CLASSCODE2 varchar(20),
    CLASSCODE3 varchar(20),
    CLASSCODE4 varchar(20),
    CLASSCODE5 varchar(20),
    CLASSCODE6 varchar(20),
    CLASSCODE7 varchar(20),
    CLASSCODE8 varchar(20),
    CLASSCODE9 varchar(20),
    CLASSCODE10 varchar(20),
    CYCLECODE varchar(20),
    ITEMGROUPCODE varchar(20),
    SPECIALTYPECODE varchar(20),
    BASEDMEASURE varchar(20),
    PORTIONMEASURE varchar(20),
    TRSOUTLET varchar(20),
    DEFLOCATIONCODE varchar(20),
    REFPOSCODE varchar(20),
    REFPRINTERGROUPCODE varchar(20),
    REFTAXCODE varchar(20),
    REFCHARGECODE varchar(20),
    REFDISCOUNTCODE varchar(20),
    REFSEASONCODE varchar(20),
    GLGROUPCODE varchar(20),
    DEFCREDITORCODE varchar(20),
    AUTONOTECODE varchar(20),
    POSDESCRIPTION varchar(100),
    POSDESCRIPTION1 varchar(100),
    POSDESCRIPTION2 varchar(100),
    POSDESCRIPTION3 varchar(100),
    POSDESCRIPTION4 varchar(100),
    POSDESCRIPTION5 varchar(100),
    POSDESCRIPTION6 varchar(100),
    POSDESCRIPTION7 varchar(100),
    POSDESCRIPTION8 varchar(100),
    POSDESCRIPTION9 varchar(100),
    POSDESCRIPTION10 varchar(100),
    UOM varchar(10),
    UNITPRICE numeric(18,4),
    UNITCOST numeric(18,4),
    PORTIONUNITPRICE numeric(18,4),
    DATECREATED datetime,
    LASTUPDATE datetime,
    CONSTRAINT PK_INVT_MT_ITEM PRIMARY KEY (ITEMCODE)
);

CREATE TABLE INVT_MT_PLU (
    ID int IDENTITY(1,1) NOT NULL,
    PLUCODE varchar(20) NOT NULL,
    ITEMCODE varchar(20),
    UOM varchar(10),
    UOMQTY int,
    UNITPRICE numeric(18,4),
    DATECREATED datetime,
    LASTUPDATE datetime,
    CONSTRAINT PK_INVT_MT_PLU PRIMARY KEY (PLUCODE)
);

CREATE TABLE INVT_MT_BOM (
    ID int IDENTITY(1,1) NOT NULL,
    BOMGROUPCODE varchar(20) NOT NULL,
    ITEMCODE varchar(20) NOT NULL,
    BOMITEMCODE varchar(20) NOT NULL,
    TYPE varchar(1),
    SERVEQTY numeric(18,4),
    SERVEUNITCOST numeric(18,4),
    SERVETOTALCOST numeric(18,4),
    DATECREATED datetime,
    LASTUPDATE datetime,
    CONSTRAINT PK_INVT_MT_BOM PRIMARY KEY (BOMGROUPCODE, BOMITEMCODE, ITEMCODE)
);

CREATE TABLE INVT_MT_BOMMASTER (
    ID int IDENTITY(1,1) NOT NULL,
    BOMGROUPCODE varchar(20) NOT NULL,
    ITEMCODE varchar(20) NOT NULL,
    ACTUALTOTALBOMCOST numeric(18,4),
    TOTALBOMCOST numeric(18,4),
    DATECREATED datetime,
    LASTUPDATE datetime,
    CONSTRAINT PK_INVT_MT_BOMMASTER PRIMARY KEY (BOMGROUPCODE, ITEMCODE)
);

CREATE TABLE LEDG_MT_CREDITOR (
    ID int IDENTITY(1,1) NOT NULL,
    CREDITORCODE varchar(20) NOT NULL,
    CREDITORNAME varchar(100),
    GLCODE varchar(20),
    AREACODE varchar(20),
    MULTICURRENCYCODE varchar(20),
    ADDRESS1 varchar(100),
    ADDRESS2 varchar(100),
    ADDRESS3 varchar(100),
    PHONE varchar(30),
    FAX varchar(30),
    EMAIL varchar(100),
    CONTACTPERSON varchar(100),
    CREDITTERM int,
    DATECREATED datetime,
    LASTUPDATE datetime,
    CONSTRAINT PK_LEDG_MT_CREDITOR PRIMARY KEY (CREDITORCODE)
);

CREATE TABLE LEDG_MT_DEBTOR (
    ID int IDENTITY(1,1) NOT NULL,
    DEBTORCODE varchar(20) NOT NULL,
    DEBTORNAME varchar(100),
    GLCODE varchar(20),
    AREACODE varchar(20),
    MULTICURRENCYCODE varchar(20),
    ADDRESS1 varchar(100),
    ADDRESS2 varchar(100),
    ADDRESS3 varchar(100),
    PHONE varchar(30),
    FAX varchar(30),
    EMAIL varchar(100),
    CONTACTPERSON varchar(100),
    CREDITLIMIT numeric(18,4),
    CREDITTERM int,
    DATECREATED datetime,
    LASTUPDATE datetime,
    CONSTRAINT PK_LEDG_MT_DEBTOR PRIMARY KEY (DEBTORCODE)
);

CREATE TABLE INVT_MT_ITEMGROUP (
    ID int IDENTITY(1,1) NOT NULL,
    ITEMGROUPCODE varchar(20) NOT NULL,
    ITEMGROUPNAME varchar(100),
    PARENTGROUPCODE varchar(20),
    GLGROUPCODE varchar(20),
    GROUPLEVEL int,
    DATECREATED datetime,
    LASTUPDATE datetime,
    CONSTRAINT PK_INVT_MT_ITEMGROUP PRIMARY KEY (ITEMGROUPCODE)
);

CREATE TABLE CLUB_MT_MEMBER (
    ID int IDENTITY(1,1) NOT NULL,
    MEMBERCODE varchar(20) NOT NULL,
    MEMBERNAME varchar(100),
    AREACODE varchar(20),
    ADDRESS1 varchar(100),
    ADDRESS2 varchar(100),
    ADDRESS3 varchar(100),
    PHONE varchar(30),
    EMAIL varchar(100),
    BIRTHDATE datetime,
    JOINDATE datetime,
    EXPIRYDATE datetime,
    POINTS int,
    DATECREATED datetime,
    LASTUPDATE datetime,
    CONSTRAINT PK_CLUB_MT_MEMBER PRIMARY KEY (MEMBERCODE)
);

CREATE TABLE MT_CLASS (
    ID int IDENTITY(1,1) NOT NULL,
    CLASSTYPECODE varchar(20) NOT NULL,
    CLASSCODE varchar(20) NOT NULL,
    CLASSNAME varchar(100),
    DATECREATED datetime,
    LASTUPDATE datetime,
    CONSTRAINT PK_MT_CLASS PRIMARY KEY (CLASSCODE, CLASSTYPECODE)
);

CREATE TABLE MT_ITEM (
    ID int IDENTITY(1,1) NOT NULL,
    ITEMCODE varchar(20) NOT NULL,
    PLUCODE varchar(20),
    ITEMNAME varchar(100),
    ITEMTYPE varchar(1),
    REFCODE varchar(20),
    CLASSCODE varchar(20),
    ITEMGROUPCODE varchar(20),
    POSDESCRIPTION varchar(40),
    POSDESCRIPTION1 varchar(40),
    POSDESCRIPTION2 varchar(40),
    POSDESCRIPTION3 varchar(40),
    BUTTONDESC varchar(20),
    UOM varchar(10),
    UNITPRICE numeric(18,4),
    UNITCOST numeric(18,4),
    UNITPRICERCP numeric(18,4),
    REORDERQTY int,
    REMARK varchar(100),
    DATECREATED datetime,
    LASTUPDATE datetime,
    CONSTRAINT PK_MT_ITEM PRIMARY KEY (ITEMCODE)
);

CREATE TABLE MT_PLU (
    ID int IDENTITY(1,1) NOT NULL,
    PLUCODE varchar(20) NOT NULL,
    ITEMCODE varchar(20),
    POSDESCRIPTION varchar(40),
    POSDESCRIPTION1 varchar(40),
    POSDESCRIPTION2 varchar(40),
    POSDESCRIPTION3 varchar(40),
    BUTTONDESC varchar(20),
    UOMQTY int,
    UOM varchar(10),
    UNITPRICE numeric(18,4),
    UNITCOST numeric(18,4),
    UNITPRICERCP numeric(18,4),
    DATECREATED datetime,
    LASTUPDATE datetime,
    CONSTRAINT PK_MT_PLU PRIMARY KEY (PLUCODE)
);
