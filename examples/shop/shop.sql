-- The example shop as a SQLite database: categories and products, customers and their orders
-- with order lines (master and detail tables joined by keys), and a view of each order's total.
-- shop.sqlite beside it is made from this script:
--   sqlite3 examples/shop/shop.sqlite < examples/shop/shop.sql

PRAGMA foreign_keys = ON;

CREATE TABLE Categories (
  CategoryID INTEGER PRIMARY KEY,
  CategoryName VARCHAR(30) NOT NULL UNIQUE,
  Description VARCHAR(200)
);

CREATE TABLE Products (
  ProductID INTEGER PRIMARY KEY,
  ProductName VARCHAR(40) NOT NULL,
  CategoryID INTEGER NOT NULL REFERENCES Categories (CategoryID),
  UnitPrice NUMERIC(10,2) NOT NULL DEFAULT 0,
  InStock INTEGER NOT NULL DEFAULT 0,
  Discontinued BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE Customers (
  CustomerID INTEGER PRIMARY KEY,
  CompanyName VARCHAR(40) NOT NULL,
  ContactName VARCHAR(30),
  City VARCHAR(20),
  Email VARCHAR(60)
);

CREATE TABLE Orders (
  OrderID INTEGER PRIMARY KEY,
  CustomerID INTEGER NOT NULL REFERENCES Customers (CustomerID),
  OrderDate DATE NOT NULL,
  ShippedDate DATE,
  Note VARCHAR(200)
);

CREATE TABLE OrderDetails (
  OrderID INTEGER NOT NULL REFERENCES Orders (OrderID),
  ProductID INTEGER NOT NULL REFERENCES Products (ProductID),
  Quantity INTEGER NOT NULL DEFAULT 1,
  UnitPrice NUMERIC(10,2) NOT NULL,
  PRIMARY KEY (OrderID, ProductID)
);

CREATE VIEW OrderTotals AS
  SELECT o.OrderID, c.CompanyName, o.OrderDate, SUM(d.Quantity * d.UnitPrice) AS Total
  FROM Orders o
  JOIN Customers c ON c.CustomerID = o.CustomerID
  JOIN OrderDetails d ON d.OrderID = o.OrderID
  GROUP BY o.OrderID, c.CompanyName, o.OrderDate;

INSERT INTO Categories VALUES
  (1, 'Beverages', 'Coffee, tea and juices'),
  (2, 'Bakery', 'Bread and pastries'),
  (3, 'Dairy', 'Milk, cheese and yoghurt');

INSERT INTO Products VALUES
  (1, 'Espresso beans 1kg', 1, 18.50, 40, 0),
  (2, 'Green tea 100 bags', 1, 6.20, 75, 0),
  (3, 'Apple juice 1l', 1, 2.40, 120, 0),
  (4, 'Sourdough loaf', 2, 4.10, 15, 0),
  (5, 'Croissant', 2, 1.30, 60, 0),
  (6, 'Aged gouda 500g', 3, 9.90, 22, 0),
  (7, 'Plain yoghurt 500g', 3, 1.80, 0, 1);

INSERT INTO Customers VALUES
  (1, 'Corner Cafe', 'Ada Byrne', 'Dublin', 'ada@cornercafe.example'),
  (2, 'Harbour Deli', 'Brian Moss', 'Cork', 'orders@harbourdeli.example'),
  (3, 'Green Market', 'Clara Diaz', 'Galway', NULL);

INSERT INTO Orders VALUES
  (1001, 1, '2026-03-02', '2026-03-03', NULL),
  (1002, 2, '2026-03-05', NULL, 'Deliver before noon'),
  (1003, 1, '2026-03-09', '2026-03-10', NULL),
  (1004, 3, '2026-03-11', NULL, NULL);

INSERT INTO OrderDetails VALUES
  (1001, 1, 2, 18.50),
  (1001, 5, 24, 1.30),
  (1002, 4, 10, 4.10),
  (1002, 6, 3, 9.90),
  (1003, 2, 5, 6.20),
  (1003, 3, 12, 2.40),
  (1004, 1, 1, 18.50),
  (1004, 6, 2, 9.90);
