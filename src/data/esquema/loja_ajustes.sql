-- What turns the older shop schema of loja.sql into the current one: the
-- program's own two adjustments. Run after loja.sql; each ends with ";".

ALTER TABLE ETIQUETAREAD ADD SO_NOME VARCHAR(80);

ALTER TABLE TRIBUTOS_ICM ALTER ICMS_ST TYPE NUMERIC(18,4);
