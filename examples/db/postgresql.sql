-- The example reference tables on PostgreSQL, in the schema QEL_TABLES where
-- wcomp837 looks first ("QEL_TABLES".PRACTICE):
--   psql -d DATABASE -f examples/db/postgresql.sql
CREATE SCHEMA IF NOT EXISTS "QEL_TABLES";
SET search_path TO "QEL_TABLES";
\ir schema.sql
