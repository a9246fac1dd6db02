-- Reference tables read by wcomp837, with a few example rows.
-- Plain SQL that both SQLite and PostgreSQL accept.

CREATE TABLE COMPANY (
  Company_ID_Number INTEGER PRIMARY KEY,
  Name              VARCHAR(60),
  Address_Line_1    VARCHAR(55),
  Address_Line_2    VARCHAR(55),
  City              VARCHAR(30),
  State             VARCHAR(2),
  Zip_Code          VARCHAR(15)
);

-- The practices the host bills for; IH_Code is the host's practice code.
CREATE TABLE PRACTICE (
  IH_Code           VARCHAR(20) PRIMARY KEY,
  Company_ID_Number INTEGER REFERENCES COMPANY (Company_ID_Number)
);

-- Alternate billing NPIs. An empty Billing_Form holds for every billing
-- form, an empty Insurance_IH_Code for every insurance.
CREATE TABLE QBEX_MultiNPI (
  Practice_IH_Code  VARCHAR(20) NOT NULL,
  Provider_IH_Code  VARCHAR(20) NOT NULL,
  Billing_Form      VARCHAR(20) NOT NULL DEFAULT '',
  Insurance_IH_Code VARCHAR(20) NOT NULL DEFAULT '',
  Alternate_NPI     VARCHAR(10)
);

-- Stop dates for payer-assigned (legacy) provider numbers.
-- NPILEG_Type: 00 standard, 01 billing form, 02 payer ID prefix, 03 insurance code.
CREATE TABLE QBEX_NpiLegacy (
  NPILEG_Type  VARCHAR(2)  NOT NULL,
  NPILEG_Value VARCHAR(30) NOT NULL DEFAULT '',
  NPILEG_Date  DATE
);

INSERT INTO COMPANY VALUES
  (1, 'Riverside Orthopedics', '1200 Main Street', 'Suite 300', 'Springfield', 'IL', '62701'),
  (2, 'Lakeshore Ambulance Service', '88 Harbor Drive', '', 'Chicago', 'IL', '60601');

INSERT INTO PRACTICE VALUES ('PR01', 1), ('PR02', 2);

INSERT INTO QBEX_MultiNPI VALUES
  ('PR01', 'DRSMITH', 'WCOMP_P4', '',     '1234567893'),
  ('PR01', 'DRPATEL', '',         'WC01', '1093817465'),
  ('PR01', 'DRPATEL', '',         '',     '1588667638');

INSERT INTO QBEX_NpiLegacy VALUES
  ('00', '',     '2008-05-23'),
  ('03', 'WC01', '2099-12-31');
