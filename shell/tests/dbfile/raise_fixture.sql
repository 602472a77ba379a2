CREATE TABLE t (x)
CREATE TRIGGER t_raise_exact BEFORE INSERT ON t WHEN NEW.x = 'SQL logic error or missing database' BEGIN SELECT RAISE(ABORT, 'SQL logic error or missing database'); END
CREATE TRIGGER t_raise_near BEFORE INSERT ON t WHEN NEW.x = 'SQL logic error' BEGIN SELECT RAISE(ABORT, 'SQL logic error'); END
