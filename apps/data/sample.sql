-- The demo's sample database: a small stock list with the kinds of values a grid meets
-- (whole numbers, decimals, text with accents and markup characters, dates as text, NULLs).
-- Build it with: python3 make_sample_db.py   (writes sample.db next to this file)
CREATE TABLE stock (
    id INTEGER PRIMARY KEY,
    item TEXT NOT NULL,
    qty INTEGER,
    price REAL,
    in_stock INTEGER,
    added TEXT,
    note TEXT
);
INSERT INTO stock VALUES (1, 'Pencil', 120, 0.45, 1, '3/2/2026', NULL);
INSERT INTO stock VALUES (2, 'Notebook A5', 40, 2.9, 1, '3/9/2026', 'ruled');
INSERT INTO stock VALUES (3, 'Crème paper', 0, 7.25, 0, '4/1/2026', 'reorder <soon>');
INSERT INTO stock VALUES (4, 'Stapler', 8, 12.0, 1, NULL, 'Tom & Jerry brand');
INSERT INTO stock VALUES (5, 'Eraser', NULL, 0.3, 1, '5/15/2026', '');
INSERT INTO stock VALUES (6, 'Ruler 30 cm', 25, 1.1, 0, '6/30/2026', 'metric');
